// The encoding choices a caller makes for the jobs that follow: the source
// encoding of mark-up jobs and the target code page of back-conversions, each
// used only where the file or document declares none.
#include <algorithm>
#include <string>
#include <utility>

#include "exports/export_guard.h"
#include "frame/encoding_choice.h"
#include "frame/encoding_names.h"
#include "frame/return_codes.h"
#include "markup/source_reading.h"
#include "tessel_cat.h"

extern "C" {

int TESSEL_CALL f_iSetSourceEncoding(const char* encoding) {
    return tessel::exports::runExport([&]() -> int {
        std::string name = encoding == nullptr ? "" : encoding;
        // An unknown name is refused and the choice made before stays.
        if (!name.empty() && tessel::frame::codePageOfEncodingName(name) == 0) {
            return tessel::frame::kUnknownEncodingName;
        }
        tessel::frame::encodingChoice().sourceEncoding = std::move(name);
        return 0;
    });
}

int TESSEL_CALL f_iSetTargetCodePage(unsigned codePage) {
    return tessel::exports::runExport([&]() -> int {
        tessel::frame::encodingChoice().targetCodePage = codePage;
        return 0;
    });
}

int TESSEL_CALL f_iGetSourceEncodingReport(char* buffer, unsigned size) {
    return tessel::exports::runExport([&]() -> int {
        const std::string& report = tessel::markup::lastSourceEncodingReport();
        if (buffer != nullptr && size > 0) {
            const std::size_t copied = std::min<std::size_t>(report.size(), size - 1);
            report.copy(buffer, copied);
            buffer[copied] = '\0';
        }
        return static_cast<int>(report.size());
    });
}

}  // extern "C"
