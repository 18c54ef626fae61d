// The whole Ventura mark-up of arbitrary bytes, version 4 and versions 5 to
// 7 on the same input: parse, RTF and log. Whatever the input, each job
// returns a code, leaves the input as it was and writes only its own files.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/message_box.h"
#include "tessel_cat.h"

namespace {

namespace fs = std::filesystem;

const fs::path& folder() {
    static const fs::path path = [] {
        fs::path made =
            fs::temp_directory_path() / ("tessel-fuzz-vp-" + std::to_string(::getpid()));
        fs::create_directories(made);
        return made;
    }();
    return path;
}

void removeOutputs() {
    for (const char* name : {"doc.RTF", "doc.err"}) {
        std::error_code ignored;
        fs::remove(folder() / name, ignored);
    }
}

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void check(int result, const std::string& bytes, const fs::path& input) {
    if (result >= 0 && !fs::exists(folder() / "doc.RTF")) std::abort();
    if ((result == -1 || result == -2) && fs::exists(folder() / "doc.RTF")) std::abort();
    if (contents(input) != bytes) std::abort();
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder())) ++files;
    if (files > 3) std::abort();  // the input, the RTF and the log at most
    removeOutputs();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fs::path input = folder() / "doc.txt";
    std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    removeOutputs();
    // An empty file shows a message box; it is not for the console.
    tessel::platform::MessageBoxCapture quiet;
    check(f_iVentura4toRTF(input.c_str()), bytes, input);
    check(f_iVentura567toRTF(input.c_str()), bytes, input);
    return 0;
}
