// The encoding choices a caller makes for the jobs that follow: the source
// encoding of mark-up jobs and the target code page of back-conversions, each
// used only where the file or document declares none.
#include <string>

#include "exports/export_guard.h"
#include "frame/encoding_choice.h"
#include "tessel_cat.h"

extern "C" {

int TESSEL_CALL f_iSetSourceEncoding(const char* encoding) {
    return tessel::exports::runExport([&]() -> int {
        tessel::frame::encodingChoice().sourceEncoding = encoding == nullptr ? "" : encoding;
        return 0;
    });
}

int TESSEL_CALL f_iSetTargetCodePage(unsigned codePage) {
    return tessel::exports::runExport([&]() -> int {
        tessel::frame::encodingChoice().targetCodePage = codePage;
        return 0;
    });
}

}  // extern "C"
