// UTF-8, the form in which the back-conversion carries text from the RTF
// reader to the writer of the target format.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessel::platform {

void appendUtf8(std::string& out, char32_t character);

// Decodes the character at `at` and moves `at` past it. A byte that starts no
// valid sequence is returned as U+FFFD and skipped alone.
char32_t nextUtf8(std::string_view text, std::size_t& at);

// True when some byte of `text` is 0x80 or above (the text is not ASCII).
bool hasNonAscii(std::string_view text);

// Number of bytes before the first byte of `text` that is 0x80 or above.
std::size_t asciiPrefixLength(std::string_view text);

}  // namespace tessel::platform
