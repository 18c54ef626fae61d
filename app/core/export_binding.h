// How a command calls its library export. The exports differ in their
// arguments; each binding kind holds a pointer to an export of the public
// header (or a stand-in with the same signature) and knows which of the
// request's values to pass.
#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "tessel_cat.h"

namespace tessel::app {

// What the workflow knows about one call.
struct ExportRequest {
    std::string inputPath;
    // The input as the user named it, where the job runs on a copy staged
    // elsewhere (the XLIFF merge finds the original beside it); empty: the
    // input itself.
    std::string userInputPath;
    // Output extension handed to the export (RTF back, text jobs); empty for
    // an in-place text job.
    std::string outputExtension;
    std::string tagFilePath;   // HTML and SGML jobs; empty when none is used
    unsigned codePage = 1252;  // multilingual HTML
    std::string charsetName;   // multilingual HTML
    bool deleteBackup = true;  // in-place text jobs
};

// Mark-up of a DTP file: input path only.
struct InputOnlyExport {
    int(TESSEL_CALL* call)(const char* input);
};
// RTF back to text: input path and output extension.
struct ExtensionExport {
    int(TESSEL_CALL* call)(const char* input, const char* extension);
};
// HTML and SGML mark-up, SGML tag collection: input path and tag file ("" when
// none).
struct TagFileExport {
    int(TESSEL_CALL* call)(const char* input, const char* tagFile);
};
// The SGML job with one of its function codes: input path, code, tag file.
struct SgmlJobExport {
    int(TESSEL_CALL* call)(const char* input, int function, const char* tagFile);
    int functionCode;
};
// RTF back to HTML in a chosen code page.
struct MultiLingualExport {
    int(TESSEL_CALL* call)(const char* input, const char* extension, unsigned codePage,
                           const char* charset);
};
// The line engine with one of its function codes. It writes the output name
// into the path buffer, so it gets a buffer of its own.
struct TextEngineExport {
    int(TESSEL_CALL* call)(char* path, int function, unsigned char deleteBackup,
                           const char* extension);
    int functionCode;
};

// The XLIFF jobs of the tool's own (extraction and merge) for one format.
struct XliffJob {
    std::string_view format;  // the mark-up's format name: "html", "pagemaker", ...
    const std::string& inputPath;
    const std::string& userInputPath;
    const std::string& tagFilePath;
};
struct XliffJobExport {
    int (*call)(const XliffJob& job);
    std::string_view format;
};

using ExportBinding =
    std::variant<InputOnlyExport, ExtensionExport, TagFileExport, MultiLingualExport,
                 TextEngineExport, SgmlJobExport, XliffJobExport>;

int callExport(const ExportBinding& binding, const ExportRequest& request);

// True for exports that convert a file in place when given no extension.
bool convertsInPlaceWithoutExtension(const ExportBinding& binding);

}  // namespace tessel::app
