#include "core/output_files.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/files.h"

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
    std::optional<platform::FileIdentity> identity = platform::fileIdentity(path);
    if (!identity) return std::nullopt;
    FileStamp stamp;
    stamp.device = identity->device;
    stamp.inode = identity->inode;
    stamp.modifiedSeconds = identity->modifiedSeconds;
    stamp.modifiedNanoseconds = identity->modifiedNanoseconds;
    stamp.size = static_cast<std::int64_t>(identity->size);
    stamp.isDirectory = identity->isDirectory;
    return stamp;
}

std::optional<FoundFile> findWithStamp(const std::string& path) {
    std::optional<std::string> found = findAnyExtensionCase(path);
    if (!found) return std::nullopt;
    std::optional<FileStamp> stamp = stampOf(*found);
    if (!stamp) return std::nullopt;
    return FoundFile{*found, *stamp};
}

std::optional<std::string> moveAside(const std::string& path) {
    constexpr int kTries = 1000;
    for (int n = 1; n <= kTries; ++n) {
        std::string aside = path + ".~" + std::to_string(n);
        if (platform::nameExists(aside)) continue;
        switch (platform::renameFile(path, aside)) {
            case platform::RenameResult::Ok:
                return aside;
            case platform::RenameResult::TargetExists:
                continue;
            case platform::RenameResult::Failed:
                return std::nullopt;
        }
    }
    return std::nullopt;
}

bool isNewVersion(const std::optional<FoundFile>& before, const std::optional<FoundFile>& after) {
    if (!after || after->stamp.isDirectory) return false;
    if (!before) return true;
    return before->path != after->path || !(before->stamp == after->stamp);
}

}  // namespace tessel::app
