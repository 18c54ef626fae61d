#include "platform/paths.h"

#include <cctype>

namespace tessel::platform {

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

PathParts splitPath(std::string_view path) {
    PathParts parts;
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        parts.drive = std::string(path.substr(0, 2));
        path.remove_prefix(2);
    }
    std::size_t lastSeparator = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (isSeparator(path[i])) lastSeparator = i;
    }
    if (lastSeparator != std::string_view::npos) {
        parts.directory = std::string(path.substr(0, lastSeparator + 1));
        path.remove_prefix(lastSeparator + 1);
    }
    std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) {
        parts.baseName = std::string(path);
    } else {
        parts.baseName = std::string(path.substr(0, dot));
        parts.extension = std::string(path.substr(dot));
    }
    return parts;
}

std::string makePath(const PathParts& parts) {
    std::string path = parts.drive;
    path += parts.directory;
    if (!parts.directory.empty() && !isSeparator(parts.directory.back())) path += '/';
    path += parts.baseName;
    if (!parts.extension.empty()) {
        if (parts.extension.front() != '.') path += '.';
        path += parts.extension;
    }
    return path;
}

std::string withExtension(std::string_view path, std::string_view extension) {
    PathParts parts = splitPath(path);
    parts.extension = std::string(extension);
    return makePath(parts);
}

std::string_view withoutExtension(std::string_view path) {
    std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) return path;
    for (std::size_t i = dot + 1; i < path.size(); ++i) {
        if (isSeparator(path[i])) return path;
    }
    return path.substr(0, dot);
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace tessel::platform
