// The RTF the mark-up writes for characters beyond Windows 1252: "\uN"
// with N the signed 16-bit value of each UTF-16 unit, then one fallback
// character, as "\uc1" declares.
#pragma once

#include <string_view>

namespace tessel::resources {

inline constexpr std::string_view kUnicodeControlWord = "\\u";
inline constexpr char kUnicodeFallback = '?';
// Written once after the header of a document from a source that was not
// read as Windows 1252.
inline constexpr std::string_view kUnicodeSkipCount = "\\uc1 ";

}  // namespace tessel::resources
