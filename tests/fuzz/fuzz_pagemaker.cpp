// The whole PageMaker mark-up of arbitrary bytes: working copy, parse, RTF
// and log. Whatever the input, the job returns a code, leaves no working copy
// and never touches anything but its own files.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tessel_cat.h"

namespace {

namespace fs = std::filesystem;

const fs::path& folder() {
    static const fs::path path = [] {
        fs::path made =
            fs::temp_directory_path() / ("tessel-fuzz-pm-" + std::to_string(::getpid()));
        fs::create_directories(made);
        return made;
    }();
    return path;
}

void removeOutputs() {
    for (const char* name : {"doc.RTF", "doc.err", "doc.ERR", "doc.tmp"}) {
        std::error_code ignored;
        fs::remove(folder() / name, ignored);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fs::path input = folder() / "doc.txt";
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    removeOutputs();
    int result = f_iPageMaker2RTF(input.c_str());
    if (fs::exists(folder() / "doc.tmp")) std::abort();  // the working copy must go
    if (result >= 0 && !fs::exists(folder() / "doc.RTF")) std::abort();
    if (result == -1 && fs::exists(folder() / "doc.RTF")) std::abort();
    removeOutputs();
    return 0;
}
