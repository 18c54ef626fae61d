// The back-conversions to plain text (Ventura 5 and later) and to SGML of
// arbitrary bytes.
#include "rtf_back_fuzz.h"
#include "tessel_cat.h"

using namespace tessel::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const JobFolder folder("back-text");
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    runBack(folder, bytes, "back.txt", "504",
            [](const char* input) { return f_iRTF2Text(input, ".txt"); });
    runBack(folder, bytes, "back.sgm", "512",
            [](const char* input) { return f_iRTF2SGML(input, ".sgm"); });
    return 0;
}
