// UTF-8, the form in which the back-conversion carries text from the RTF
// reader to the writer of the target format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tessel::platform {

void appendUtf8(std::string& out, char32_t character);

// Writes the UTF-8 of `character` to `out`, which has room for
// kMaxUtf8Bytes, and returns its length.
inline constexpr std::size_t kMaxUtf8Bytes = 4;
inline std::size_t writeUtf8(char32_t c, char* out) {
    if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | (c >> 6));
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (c >> 12));
        out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (c >> 18));
    out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

// Decodes the character at `at` and moves `at` past it. A byte that starts no
// valid sequence is returned as U+FFFD and skipped alone.
char32_t nextUtf8(std::string_view text, std::size_t& at);

// True when some byte of `text` is 0x80 or above (the text is not ASCII).
bool hasNonAscii(std::string_view text);

// Number of bytes before the first byte of `text` that is 0x80 or above.
// Inline: the decoders call it for every run of ASCII between letters.
inline std::size_t asciiPrefixLength(std::string_view text) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    const char* data = text.data();
    const std::size_t size = text.size();
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + i, sizeof word);
        if (word & kHighBits) break;
    }
    while (i < size && !(static_cast<unsigned char>(data[i]) & 0x80)) ++i;
    return i;
}

}  // namespace tessel::platform
