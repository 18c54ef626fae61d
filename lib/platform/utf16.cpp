#include "platform/utf16.h"

#include "platform/utf8.h"

namespace tessel::platform {

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

void appendUnit(std::string& out, unsigned unit, bool bigEndian) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
}

}  // namespace

std::string utf8OfUtf16(std::string_view bytes, bool bigEndian, std::size_t& unpaired) {
    auto unitAt = [&](std::size_t at) -> char32_t {
        auto first = static_cast<unsigned char>(bytes[at]);
        auto second = static_cast<unsigned char>(bytes[at + 1]);
        return bigEndian ? (char32_t(first) << 8 | second) : (char32_t(second) << 8 | first);
    };
    std::string text;
    text.reserve(bytes.size());
    std::size_t at = 0;
    for (; at + 1 < bytes.size(); at += 2) {
        char32_t unit = unitAt(at);
        if (unit >= 0xD800 && unit <= 0xDBFF && at + 3 < bytes.size()) {
            char32_t low = unitAt(at + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                at += 2;
                continue;
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            ++unpaired;
            unit = kReplacementCharacter;
        }
        appendUtf8(text, unit);
    }
    if (at < bytes.size()) {
        ++unpaired;
        appendUtf8(text, kReplacementCharacter);
    }
    return text;
}

std::string utf16OfUtf8(std::string_view text, bool bigEndian) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    std::size_t at = 0;
    while (at < text.size()) {
        char32_t c = nextUtf8(text, at);
        if (c > 0xFFFF) {
            c -= 0x10000;
            appendUnit(bytes, 0xD800 + static_cast<unsigned>(c >> 10), bigEndian);
            appendUnit(bytes, 0xDC00 + static_cast<unsigned>(c & 0x3FF), bigEndian);
        } else {
            appendUnit(bytes, static_cast<unsigned>(c), bigEndian);
        }
    }
    return bytes;
}

}  // namespace tessel::platform
