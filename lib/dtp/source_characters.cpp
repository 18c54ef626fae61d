#include "dtp/source_characters.h"

#include <cstdint>

#include "dtp/converter_rtf_text.h"
#include "frame/dtp_text_headers.h"
#include "frame/encoding_choice.h"
#include "frame/encoding_names.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "platform/streams.h"
#include "resources/encoding_names.h"
#include "resources/markup_framework_texts.h"

namespace tessel::dtp {

namespace {

namespace res = tessel::resources;

constexpr char32_t kFirstSupplementary = 0x10000;

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The character of the well-formed UTF-8 sequence at `at` (moved past it),
// or nothing (with `at` unchanged) when the bytes there are not one:
// overlong forms, surrogates and values beyond U+10FFFF included.
bool decodeUtf8(std::string_view text, std::size_t& at, char32_t& c) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || text.size() - at < length) return false;
    char32_t value = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if (!isContinuation(byte(i))) return false;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    const char32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : kFirstSupplementary;
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    c = value;
    at += length;
    return true;
}

// The character at `at` of the source, `at` moved past it.
char32_t nextCharacter(std::string_view text, std::size_t& at, const SourceCharacters& characters) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (!characters.utf8) {
        ++at;
        return characters.codePage->decode(byte);
    }
    char32_t c = 0;
    if (decodeUtf8(text, at, c)) return c;
    ++at;
    return platform::keptByte(byte);
}

void appendUnicodeEscape(std::string& out, char32_t unit) {
    const auto value = static_cast<std::int16_t>(static_cast<std::uint16_t>(unit));
    out += platform::fillPlaceholders(res::kRtfUnicodeEscape, {std::to_string(value)});
    out += res::kRtfUnicodeFallback;
}

// Converts `text` as `appendAscii` writes its ASCII runs, with each other
// character through appendRtfCharacter(). Runs are cut only before and after
// characters from U+0080, which neither escaping nor line joining reads
// across as anything but a byte from 0x80.
template <typename AppendAscii>
void appendDecoded(std::string& out, std::string_view text, const SourceCharacters& characters,
                   AppendAscii appendAscii) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = at;
        while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80) ++end;
        if (end > at) appendAscii(out, text.substr(at, end - at));
        at = end;
        while (at < text.size() && static_cast<unsigned char>(text[at]) >= 0x80) {
            appendRtfCharacter(out, nextCharacter(text, at, characters));
        }
    }
}

}  // namespace

SourceCharacters sourceCharactersNamed(std::string_view name) {
    SourceCharacters characters;
    const int page = frame::codePageOfEncodingName(name);
    if (page == resources::kUtf8EncodingPage) {
        characters.utf8 = true;
        return characters;
    }
    const platform::CodePageCodec* codec = platform::CodePageCodec::find(page);
    if (codec != nullptr && !codec->isDoubleByte() &&
        codec != &platform::CodePageCodec::windows1252()) {
        characters.codePage = codec;
    }
    return characters;
}

bool holdsUndecodableBytes(std::string_view text, const SourceCharacters& characters) {
    if (!characters.decodes()) return false;
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            ++at;
            continue;
        }
        if (!characters.utf8) {
            if (platform::isKeptByte(characters.codePage->decode(byte))) return true;
            ++at;
            continue;
        }
        char32_t c = 0;
        if (!decodeUtf8(text, at, c)) return true;
    }
    return false;
}

bool startsWithUtf8ByteOrderMark(const std::string& path) {
    platform::InputStream input;
    if (!input.open(path, platform::StreamMode::Binary)) return false;
    for (char expected : frame::kUtf8ByteOrderMark) {
        if (input.get() != static_cast<unsigned char>(expected)) return false;
    }
    return true;
}

SourceCharacters undeclaredSourceCharacters(const std::string& path) {
    if (startsWithUtf8ByteOrderMark(path)) {
        SourceCharacters characters;
        characters.utf8 = true;
        return characters;
    }
    return sourceCharactersNamed(frame::encodingChoice().sourceEncoding);
}

void appendRtfCharacter(std::string& out, char32_t c) {
    std::string byte;
    if (c < kFirstSupplementary && !platform::isKeptByte(c) &&
        platform::CodePageCodec::windows1252().encode(c, byte)) {
        appendConverterRtfEscaped(out, byte);
        return;
    }
    // Each escape has its own fallback: a reader skips one after each.
    if (c >= kFirstSupplementary) {
        const char32_t offset = c - kFirstSupplementary;
        appendUnicodeEscape(out, 0xD800 + (offset >> 10));
        appendUnicodeEscape(out, 0xDC00 + (offset & 0x3FF));
    } else {
        appendUnicodeEscape(out, c);
    }
}

void appendDecodedRtfText(std::string& out, std::string_view text,
                          const SourceCharacters& characters, bool joinLines) {
    appendDecoded(out, text, characters, [joinLines](std::string& to, std::string_view ascii) {
        appendConverterRtfText(to, ascii, joinLines);
    });
}

void appendDecodedRtfEscaped(std::string& out, std::string_view text,
                             const SourceCharacters& characters) {
    appendDecoded(out, text, characters, [](std::string& to, std::string_view ascii) {
        appendConverterRtfEscaped(to, ascii);
    });
}

}  // namespace tessel::dtp
