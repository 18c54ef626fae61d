// The back-conversions to DTP tagged text of arbitrary bytes: PageMaker and
// QuarkXPress (with the Macintosh pass a header asks for) and Ventura 4.
#include "rtf_back_fuzz.h"
#include "tessel_cat.h"

using namespace tessel::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const JobFolder folder("back-dtp");
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    runBack(folder, bytes, "back.txt", "510",
            [](const char* input) { return f_iRTF2PageMaker(input, ".txt"); });
    runBack(folder, bytes, "back.xtg", "511",
            [](const char* input) { return f_iRTF2XPress(input, ".xtg"); });
    runBack(folder, bytes, "back.txt", "513",
            [](const char* input) { return f_iVentura4RTF2Text(input, ".txt"); });
    return 0;
}
