// Names of std::filesystem paths in the form the library takes them.
#pragma once

#include <filesystem>
#include <string>

namespace tessel::platform {

// The name of `path` as the library takes names: 8-bit, in the active ANSI
// code page on Windows. There std::filesystem reads 8-bit names in that code
// page but gives them back in UTF-8 from string(), which would turn "café"
// into another name.
std::string nameOf(const std::filesystem::path& path);

}  // namespace tessel::platform
