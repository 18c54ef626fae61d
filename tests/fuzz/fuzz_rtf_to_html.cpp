// The HTML back-conversions of arbitrary bytes: HTML with named entities,
// compatible HTML, and multilingual HTML in a single-byte and a multi-byte
// code page, whose charset step rewrites the written page.
#include "rtf_back_fuzz.h"
#include "tessel_cat.h"

using namespace tessel::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const JobFolder folder("back-html");
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    runBack(folder, bytes, "back.htm", "508",
            [](const char* input) { return f_iRTF2HTML(input, ".htm"); });
    runBack(folder, bytes, "back.htm", "514",
            [](const char* input) { return f_iRTF2CompatibleHTML(input, ".htm"); });
    runBack(folder, bytes, "back.htm", "515 in 1251",
            [](const char* input) { return f_iRTF2HTMLMultiLingual(input, ".htm", 1251); });
    runBack(folder, bytes, "back.htm", "515 in 932 as Shift_JIS", [](const char* input) {
        return f_iRTF2HTMLMultiLingualWithCharSet(input, ".htm", 932, "Shift_JIS");
    });
    return 0;
}
