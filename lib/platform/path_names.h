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

// The path of a name the library takes: on Windows read in the active ANSI
// code page, as the file API reads it. std::filesystem reads 8-bit names
// byte for byte as the first 256 code points, which gives another name
// for the bytes 0x80 to 0x9F ("\x80" is the euro sign in code page 1252).
std::filesystem::path pathOf(const std::string& name);

}  // namespace tessel::platform
