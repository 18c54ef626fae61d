#include "core/output_files.h"

#include <cstdio>
#include <system_error>

#include "platform/files.h"
#include "platform/paths.h"

namespace tessel::app {

std::string outputNameFor(std::string_view inputPath, std::string_view extension) {
    if (extension.empty()) return std::string(inputPath);
    std::string name(platform::withoutExtension(inputPath));
    if (extension.front() != '.') name += '.';
    name += extension;
    return name;
}

std::string errorLogNameFor(std::string_view outputPath) {
    return outputNameFor(outputPath, ".err");
}

std::optional<std::string> findAnyExtensionCase(const std::string& path) {
    return platform::findFileAnyExtensionCase(path);
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
