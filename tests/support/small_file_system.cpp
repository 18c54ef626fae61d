#include "support/small_file_system.h"

#ifndef _WIN32
#include <sys/mount.h>
#endif

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

#include "support/portable.h"

namespace tessel::test {

namespace fs = std::filesystem;

SmallFileSystem::SmallFileSystem(std::size_t bytes) {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("tessel-small-fs-" + std::to_string(processId()) + "-" + std::to_string(counter++));
    std::error_code error;
    fs::create_directories(path_, error);
    std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
#ifdef _WIN32
    // Windows has no tmpfs to mount: the full-disk tests skip there.
    (void)options;
#else
    mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", 0, options.c_str()) == 0;
#endif
}

SmallFileSystem::~SmallFileSystem() {
#ifndef _WIN32
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
#endif
    std::error_code error;
    fs::remove_all(path_, error);
}

void SmallFileSystem::fill() const {
    std::FILE* ballast = std::fopen(file(kBallast).c_str(), "ab");
    if (ballast == nullptr) return;
    std::vector<char> block(4096, 'b');
    while (std::fwrite(block.data(), 1, block.size(), ballast) == block.size()) {
    }
    // A partial block may still fit.
    while (std::fputc('b', ballast) != EOF && std::fflush(ballast) == 0) {
    }
    std::fclose(ballast);
}

void SmallFileSystem::drain() const {
    std::error_code error;
    fs::remove(file(kBallast), error);
}

bool SmallFileSystem::makeReadOnly() const {
#ifdef _WIN32
    return false;
#else
    return ::mount("tmpfs", path_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
#endif
}

std::string SmallFileSystem::listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) {
        std::string name = entry.path().filename().string();
        if (name != kBallast) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : " ") + name;
    return text;
}

}  // namespace tessel::test
