// The charset step on arbitrary HTML bytes. Whatever the input, the step
// returns one of its codes, leaves no temporary file, leaves the file as it
// was when it fails, and declares the charset when it rewrote the file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "frame/error_log.h"
#include "frame/job_state.h"
#include "markup/charset_step.h"

namespace {

namespace fs = std::filesystem;

const fs::path& folder() {
    static const fs::path path = [] {
        fs::path made =
            fs::temp_directory_path() / ("tessel-fuzz-charset-" + std::to_string(::getpid()));
        fs::create_directories(made);
        return made;
    }();
    return path;
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Target {
    unsigned codePage;
    const char* charset;
    const char* declared;  // what a rewritten file must contain
};

// The first byte picks the code page and charset name.
constexpr Target kTargets[] = {
    {1251, "", "Windows-1251"}, {932, "", "shift_jis"}, {1252, "euc-kr", "euc-kr"},
    {0, "", nullptr},           {437, "", nullptr},     {1250, "a b", nullptr},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const Target& target = kTargets[data[0] % std::size(kTargets)];
    std::string html(reinterpret_cast<const char*>(data + 1), size - 1);
    fs::path page = folder() / "page.htm";
    fs::path logName = folder() / "page.ERR";
    std::ofstream(page, std::ios::binary | std::ios::trunc) << html;

    tessel::frame::jobState().reset();
    tessel::frame::ErrorLog log;
    if (!log.open(logName.string())) std::abort();
    int result =
        tessel::markup::runCharsetStep(page.string(), target.codePage, target.charset, log);
    log.close();

    bool known = result == 0 || result == -1 || result == -2 || result == -113 || result == -2208;
    if (!known) std::abort();
    for (const auto& entry : fs::directory_iterator(folder())) {
        std::string name = entry.path().filename().string();
        if (name != "page.htm" && name != "page.ERR") std::abort();  // a temporary file stayed
    }
    std::string after = readAll(page);
    bool failed = result == -1 || result == -2 || result == -2208;
    if (failed && after != html) std::abort();
    if (target.declared == nullptr && result != -2208) std::abort();
    if (!failed && after != html && after.find(target.declared) == std::string::npos) std::abort();
    if (result < 0 && !tessel::frame::jobState().messagesWritten) std::abort();
    return 0;
}
