#include "platform/utf8.h"

#include <cstdint>
#include <cstring>

namespace tessel::platform {

void appendUtf8(std::string& out, char32_t c) {
    char bytes[kMaxUtf8Bytes];
    out.append(bytes, writeUtf8(c, bytes));
}

char32_t nextUtf8(std::string_view text, std::size_t& at) {
    constexpr char32_t kReplacement = 0xFFFD;
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size()) {
        ++at;
        return kReplacement;
    }
    char32_t c = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        unsigned char next = byte(at + i);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return kReplacement;
        }
        c = (c << 6) | (next & 0x3F);
    }
    at += length;
    return c;
}

bool hasNonAscii(std::string_view text) {
    return asciiPrefixLength(text) != text.size();
}

std::size_t asciiPrefixLength(std::string_view text) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    const char* data = text.data();
    std::size_t size = text.size();
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
