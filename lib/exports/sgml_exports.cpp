// The SGML exports: the SGML job with a function code, and its two main uses,
// mark-up and tag collection.
#include <string>

#include "exports/export_guard.h"
#include "frame/return_codes.h"
#include "markup/sgml_job.h"
#include "tessel_cat.h"

namespace tessel::exports {

namespace {

int runSgmlJob(const char* input, int functionCode, const char* tagFile) {
    return runExport([&]() -> int {
        if (input == nullptr) return frame::kCannotOpenInput;
        return markup::runSgmlTextReadWrite(input, functionCode, tagFile == nullptr ? "" : tagFile);
    });
}

}  // namespace

}  // namespace tessel::exports

using tessel::exports::runSgmlJob;

extern "C" {

int TESSEL_CALL funciSGMLTextReadWrite(const char* input, int function, const char* tagFile) {
    return runSgmlJob(input, function, tagFile);
}

int TESSEL_CALL f_iSGML2RTF(const char* input, const char* tagFile) {
    return runSgmlJob(input, tessel::frame::kSgmlToRtf, tagFile);
}

int TESSEL_CALL f_iAddUniqueSGMLTagsToFile(const char* input, const char* tagFile) {
    return runSgmlJob(input, tessel::frame::kAddUniqueSgmlTags, tagFile);
}

}  // extern "C"
