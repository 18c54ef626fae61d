// Escaping UTF-8 text for RTF: what Windows 1252 holds exactly as
// escapeRtf() writes its byte, so that text of a source in any encoding
// reads as a 1252 source's would; every other character as "\uN?".
#pragma once

#include <string>

namespace tessel::frame {

// Appends "\uN?" for `c`, a UTF-16 surrogate pair of them beyond U+FFFF;
// N above 32767 is written less 65536, as RTF's signed numbers are.
void appendUnicodeEscape(std::string& out, char32_t c);

// Rewrites the UTF-8 `line` as escaped RTF text. Kept bytes (U+F000 to
// U+F0FF, bytes that had no character in the source) are written as "\uN?"
// too, so the back-conversion writes their byte again. False when memory
// runs out (the line is then as it was).
bool escapeUnicodeRtf(std::string& line);

}  // namespace tessel::frame
