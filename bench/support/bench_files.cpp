#include "support/bench_files.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace tessel::bench {

namespace {

// The folder lives as long as the program and goes with everything in it.
struct ScratchFolder {
    std::filesystem::path path;
    ScratchFolder()
        : path(std::filesystem::temp_directory_path() /
               ("tessel-bench-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
};

}  // namespace

std::string scratchPath(std::string_view name) {
    static const ScratchFolder folder;
    return (folder.path / name).string();
}

void writeBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void removeIfPresent(const std::string& path) {
    std::remove(path.c_str());
}

}  // namespace tessel::bench
