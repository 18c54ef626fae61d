#include "core/output_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace tessel::app {

namespace {

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

// Position of the file name's extension dot, or npos.
std::size_t extensionDot(std::string_view path) {
    std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) return dot;
    for (std::size_t i = dot + 1; i < path.size(); ++i) {
        if (isSeparator(path[i])) return std::string_view::npos;
    }
    return dot;
}

std::string_view withoutExtension(std::string_view path) {
    std::size_t dot = extensionDot(path);
    return dot == std::string_view::npos ? path : path.substr(0, dot);
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::size_t fileNameStart(std::string_view path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (isSeparator(path[i - 1])) return i;
    }
    return 0;
}

}  // namespace

std::string outputNameFor(std::string_view inputPath, std::string_view extension) {
    if (extension.empty()) return std::string(inputPath);
    std::string name(withoutExtension(inputPath));
    if (extension.front() != '.') name += '.';
    name += extension;
    return name;
}

std::string errorLogNameFor(std::string_view outputPath) {
    return outputNameFor(outputPath, ".err");
}

std::optional<std::string> findAnyExtensionCase(const std::string& path) {
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::path(path), error)) return path;
    std::size_t nameStart = fileNameStart(path);
    std::string folder = path.substr(0, nameStart);
    std::string_view fileName = std::string_view(path).substr(nameStart);
    std::string_view stem = withoutExtension(fileName);
    std::string_view extension = fileName.substr(stem.size());

    std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
    if (error) return std::nullopt;
    for (; entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        std::string candidate = entries->path().filename().string();
        std::string_view candidateStem = withoutExtension(candidate);
        if (candidateStem == stem &&
            equalIgnoringCase(std::string_view(candidate).substr(candidateStem.size()),
                              extension)) {
            return folder + candidate;
        }
    }
    return std::nullopt;
}

std::optional<FileStamp> stampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    FileStamp stamp;
    stamp.device = static_cast<std::uint64_t>(info.st_dev);
    stamp.inode = static_cast<std::uint64_t>(info.st_ino);
    stamp.modifiedSeconds = static_cast<std::int64_t>(info.st_mtim.tv_sec);
    stamp.modifiedNanoseconds = static_cast<std::int64_t>(info.st_mtim.tv_nsec);
    stamp.size = static_cast<std::int64_t>(info.st_size);
    stamp.isDirectory = S_ISDIR(info.st_mode);
    return stamp;
}

std::optional<FoundFile> findWithStamp(const std::string& path) {
    std::optional<std::string> found = findAnyExtensionCase(path);
    if (!found) return std::nullopt;
    std::optional<FileStamp> stamp = stampOf(*found);
    if (!stamp) return std::nullopt;
    return FoundFile{*found, *stamp};
}

bool renameWithoutReplacing(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) return false;
#endif
    // File systems without no-replace renames: a link never replaces either.
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    if (::unlink(from.c_str()) == 0) return true;
    ::unlink(to.c_str());
    return false;
}

std::optional<std::string> moveAside(const std::string& path) {
    constexpr int kTries = 1000;
    for (int n = 1; n <= kTries; ++n) {
        std::string aside = path + ".~" + std::to_string(n);
        struct stat info {};
        if (::lstat(aside.c_str(), &info) == 0) continue;
        if (renameWithoutReplacing(path, aside)) return aside;
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

bool isNewVersion(const std::optional<FoundFile>& before, const std::optional<FoundFile>& after) {
    if (!after || after->stamp.isDirectory) return false;
    if (!before) return true;
    return before->path != after->path || !(before->stamp == after->stamp);
}

}  // namespace tessel::app
