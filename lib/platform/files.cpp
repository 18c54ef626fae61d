// The file operations that are the same on every system; files_posix.cpp and
// files_windows.cpp hold the ones each system does its own way.
#include "platform/files.h"

#include "platform/paths.h"

namespace tessel::platform {

std::optional<std::string> findFileAnyExtensionCase(const std::string& path) {
#ifndef _WIN32
    if (fileExists(path)) return path;
#endif
    // Windows finds "doc.ERR" under "doc.err" too: the folder listing gives
    // the name as it is stored, which is the one to report.
    PathParts parts = splitPath(path);
    std::string folder = parts.drive + parts.directory;
    std::string fileName = parts.baseName + parts.extension;
    std::optional<std::string> otherCase;
    for (const std::string& entry : folderEntries(folder.empty() ? std::string(".") : folder)) {
        if (entry == fileName) return folder + entry;
        PathParts candidate = splitPath(entry);
        if (!otherCase && candidate.baseName == parts.baseName &&
            sameNameIgnoringCase(candidate.extension, parts.extension)) {
            otherCase = folder + entry;
        }
    }
    if (!otherCase && fileExists(path)) return path;
    return otherCase;
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
