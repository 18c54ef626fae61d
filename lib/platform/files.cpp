// The file operations that are the same on every system; files_posix.cpp and
// files_windows.cpp hold the ones each system does its own way.
#include "platform/files.h"

#include "platform/paths.h"

namespace tessel::platform {

std::optional<std::string> findFileAnyExtensionCase(const std::string& path) {
    if (fileExists(path)) return path;
    PathParts parts = splitPath(path);
    std::string folder = parts.drive + parts.directory;
    for (const std::string& entry : folderEntries(folder.empty() ? std::string(".") : folder)) {
        PathParts candidate = splitPath(entry);
        if (candidate.baseName == parts.baseName &&
            sameNameIgnoringCase(candidate.extension, parts.extension)) {
            return folder + entry;
        }
    }
    return std::nullopt;
}

bool outputExists(const std::string& path) {
    return findFileAnyExtensionCase(path).has_value();
}

bool createParentDirectories(const std::string& path) {
    PathParts parts = splitPath(path);
    std::string folder = parts.drive + parts.directory;
    if (folder.empty()) return true;
    std::string partial;
    for (std::size_t i = 0; i < folder.size(); ++i) {
        char c = folder[i];
        partial += isSeparator(c) ? '/' : c;
        bool atSeparator = isSeparator(c) || i + 1 == folder.size();
        if (!atSeparator || partial == "/") continue;
        if (isDirectory(partial)) continue;
        if (!createFolder(partial)) return false;
    }
    return isDirectory(partial);
}

}  // namespace tessel::platform
