// Splitting and forming file names. Both "/" and "\\" separate folders; a
// leading "X:" is a drive. Names follow the rules of the library's callers:
// at most 259 characters, extensions compared and replaced as given.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessel::platform {

// Longest path the library accepts, terminator excluded (260-byte buffers).
inline constexpr std::size_t kMaxPath = 259;

struct PathParts {
    std::string drive;      // "C:" or empty
    std::string directory;  // up to and including the last separator
    std::string baseName;   // file name without its extension
    std::string extension;  // from the last "." of the file name, dot included
};

PathParts splitPath(std::string_view path);

// Joins the parts; an extension without a leading dot gets one, so "rtf"
// and ".rtf" give the same name.
std::string makePath(const PathParts& parts);

// The path with its extension replaced (drive, folder and base name kept).
std::string withExtension(std::string_view path, std::string_view extension);

// The path up to its last "." (the whole path when its file name has none).
std::string_view withoutExtension(std::string_view path);

// ASCII case-insensitive equality, as file names compare on the original
// platform.
bool sameNameIgnoringCase(std::string_view a, std::string_view b);

bool isSeparator(char c);

}  // namespace tessel::platform
