#include "frame/rtf_unicode_escape.h"

#include <new>

#include "frame/rtf_writer.h"
#include "platform/code_page_codec.h"
#include "platform/spare_buffer.h"
#include "platform/utf8.h"
#include "resources/rtf_unicode_texts.h"

namespace tessel::frame {

namespace {

namespace res = tessel::resources;
using platform::CodePageCodec;

void appendUnit(std::string& out, unsigned unit) {
    out += res::kUnicodeControlWord;
    const int value = unit > 32767 ? static_cast<int>(unit) - 65536 : static_cast<int>(unit);
    out += std::to_string(value);
    out += res::kUnicodeFallback;
}

// The Windows 1252 byte of `c`, 0 when 1252 holds none (its characters
// beyond ASCII lie below U+0800 or among the punctuation).
unsigned char windows1252Byte(char32_t c) {
    const CodePageCodec& codec = CodePageCodec::windows1252();
    std::uint16_t bytes = 0;
    if (c < CodePageCodec::kDirectLimit) {
        bytes = codec.directBytes(c);
    } else if (c >= CodePageCodec::kPunctuationFirst && c < CodePageCodec::kPunctuationLimit) {
        bytes = codec.punctuationBytes(c);
    }
    return bytes <= 0xFF ? static_cast<unsigned char>(bytes) : 0;
}

void appendByte(std::string& out, char byte) {
    std::string_view escape = rtfEscapeOf(byte);
    if (escape.empty()) {
        out += byte;
    } else {
        out += escape;
    }
}

}  // namespace

void appendUnicodeEscape(std::string& out, char32_t c) {
    if (c > 0xFFFF) {
        const char32_t offset = c - 0x10000;
        appendUnit(out, 0xD800 + static_cast<unsigned>(offset >> 10));
        appendUnit(out, 0xDC00 + static_cast<unsigned>(offset & 0x3FF));
        return;
    }
    appendUnit(out, static_cast<unsigned>(c));
}

bool escapeUnicodeRtf(std::string& line) {
    try {
        const std::string_view text = line;
        const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
        platform::rebuildInPlace(line, [&](std::string& escaped) {
            escaped.reserve(text.size() + text.size() / 2);
            std::size_t at = 0;
            while (at < text.size()) {
                // ASCII that RTF keeps as it stands, copied as one run.
                std::size_t run = at;
                while (run < text.size() && bytes[run] < 0x80 && !isRtfEscaped(text[run])) ++run;
                escaped.append(text, at, run - at);
                at = run;
                if (at == text.size()) break;
                if (bytes[at] < 0x80) {
                    escaped += rtfEscapeOf(text[at++]);
                    continue;
                }
                const char32_t c = platform::nextUtf8(text, at);
                if (unsigned char byte = platform::isKeptByte(c) ? 0 : windows1252Byte(c)) {
                    appendByte(escaped, static_cast<char>(byte));
                } else {
                    appendUnicodeEscape(escaped, c);
                }
            }
        });
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace tessel::frame
