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

}  // namespace tessel::platform
