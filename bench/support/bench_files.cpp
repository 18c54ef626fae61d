#include "support/bench_files.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace tessel::bench {

std::string scratchPath(std::string_view name) {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() /
                    ("tessel-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return (folder / name).string();
}

void writeBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void plainCopy(const std::string& from, const std::string& to) {
    std::FILE* in = std::fopen(from.c_str(), "rb");
    std::FILE* out = std::fopen(to.c_str(), "wb");
    char buffer[8192];
    std::size_t n;
    while (in && out && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        std::fwrite(buffer, 1, n, out);
    }
    if (in) std::fclose(in);
    if (out) std::fclose(out);
}

void removeIfPresent(const std::string& path) { std::remove(path.c_str()); }

}  // namespace tessel::bench
