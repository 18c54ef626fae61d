// The HTML mark-up export.
#include "exports/export_guard.h"
#include "markup/html_to_rtf.h"
#include "tessel_cat.h"

extern "C" int TESSEL_CALL f_iHTML2RTF(const char* inputPath, const char* tagFilePath) {
    return tessel::exports::runExport([&]() -> int {
        if (inputPath == nullptr) return tessel::frame::kCannotOpenInput;
        return tessel::markup::runHtmlToRtf(inputPath, tagFilePath == nullptr ? "" : tagFilePath);
    });
}
