#include "verify/text_encoding.h"

#include <algorithm>
#include <array>
#include <optional>

#include "frame/encoding_names.h"
#include "markup/entity_decoding.h"
#include "platform/utf16.h"
#include "platform/utf8.h"
#include "resources/encoding_names.h"

namespace tessel::verify {

namespace {

using platform::CodePageCodec;

constexpr char32_t kReplacement = 0xFFFD;
constexpr int kUtf8CodePage = 65001;
// How far into a file a declaration is looked for.
constexpr std::size_t kDeclarationWindow = 16384;

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

std::string lowerCase(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lower);
    return out;
}

bool isNameByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == ':' || c == '+';
}

// The value after `key` at `at` ("charset", "encoding"): blanks, "=",
// blanks, an optional quote, then the name.
std::string_view valueAfter(std::string_view text, std::size_t at) {
    auto skipBlanks = [&] {
        while (at < text.size() &&
               (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n')) {
            ++at;
        }
    };
    skipBlanks();
    if (at >= text.size() || text[at] != '=') return {};
    ++at;
    skipBlanks();
    if (at < text.size() && (text[at] == '"' || text[at] == '\'')) ++at;
    std::size_t end = at;
    while (end < text.size() && isNameByte(text[end])) ++end;
    return text.substr(at, end - at);
}

// The "charset=" of the first META tag that has one, or the "encoding=" of
// an XML declaration at the start.
std::string declaredName(std::string_view text) {
    std::string head = lowerCase(text.substr(0, kDeclarationWindow));
    if (head.starts_with("<?xml")) {
        std::size_t end = head.find("?>");
        std::size_t key = head.find("encoding");
        if (key != std::string::npos && key < end) {
            return std::string(valueAfter(head, key + std::string_view("encoding").size()));
        }
    }
    for (std::size_t meta = head.find("<meta"); meta != std::string::npos;
         meta = head.find("<meta", meta + 1)) {
        std::size_t end = std::min(head.find('>', meta), head.size());
        std::size_t key = head.find("charset", meta);
        if (key == std::string::npos || key > end) continue;
        std::string_view value = valueAfter(std::string_view(head).substr(0, end),
                                            key + std::string_view("charset").size());
        if (!value.empty()) return std::string(value);
    }
    return {};
}

// Valid UTF-8 with at least one multi-byte sequence.
bool isMultiByteUtf8(std::string_view text) {
    bool multiByte = false;
    for (std::size_t at = platform::asciiPrefixLength(text); at < text.size();) {
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            ++at;
            continue;
        }
        std::size_t length = utf8SequenceLength(text, at);
        if (length == 0) return false;
        multiByte = true;
        at += length;
    }
    return multiByte;
}

int digitValue(char c, int base) {
    int value = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : 99;
    return value < base ? value : -1;
}

// The character of "&#digits;" or "&#xhex;" (`entity` from "&" to ";").
std::optional<char32_t> numericReference(std::string_view entity) {
    std::string_view digits = entity.substr(2, entity.size() - 3);
    int base = 10;
    if (!digits.empty() && (digits.front() == 'x' || digits.front() == 'X')) {
        base = 16;
        digits.remove_prefix(1);
    }
    if (digits.empty()) return std::nullopt;
    char32_t value = 0;
    for (char c : digits) {
        int digit = digitValue(c, base);
        if (digit < 0) return std::nullopt;
        value = value * static_cast<char32_t>(base) + static_cast<char32_t>(digit);
        if (value > 0x10FFFF) return std::nullopt;
    }
    if (value == 0 || (value >= 0xD800 && value <= 0xDFFF)) return std::nullopt;
    // The bytes of Windows 1252, as the library's decoding takes them.
    if (value < 0x100) return CodePageCodec::windows1252().decode(static_cast<std::uint8_t>(value));
    return value;
}

// The character of the entity that starts at `amp`, and its length.
std::optional<char32_t> entityAt(std::string_view text, std::size_t amp, std::size_t& length) {
    const std::size_t readable = text.size() - amp - 1;
    const std::size_t window = std::min(readable, markup::entity_decoding::kMaxEntitySpan);
    std::size_t semicolon = text.substr(amp + 1, window).find(';');
    if (semicolon == std::string_view::npos) return std::nullopt;
    std::string_view entity = text.substr(amp, semicolon + 2);
    length = entity.size();
    if (entity.size() >= 3 && entity[1] == '#') return numericReference(entity);
    auto byte = markup::entity_decoding::lookUpNamedEntity(entity, readable);
    if (!byte) return std::nullopt;
    return CodePageCodec::windows1252().decode(static_cast<std::uint8_t>(*byte));
}

}  // namespace

int codePageOfEncodingName(std::string_view name) {
    const int page = frame::codePageOfEncodingName(name);
    // A declaration read as ASCII is not UTF-16: the mark-up reads UTF-8.
    if (page == resources::kUtf16LittleEndianPage || page == resources::kUtf16BigEndianPage) {
        return kUtf8CodePage;
    }
    return page;
}

TextEncoding encodingOfTaggedText(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) return TextEncoding::utf8();
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        return TextEncoding::unknownBytes();
    }
    std::string declared = declaredName(text);
    if (!declared.empty()) {
        int codePage = codePageOfEncodingName(declared);
        if (codePage == kUtf8CodePage) return TextEncoding::utf8();
        if (const CodePageCodec* codec = CodePageCodec::find(codePage)) {
            return {TextEncoding::Form::CodePage, codec};
        }
        return TextEncoding::unknownBytes();
    }
    return isMultiByteUtf8(text) ? TextEncoding::utf8() : TextEncoding::windows1252();
}

std::string comparableText(std::string_view bytes) {
    const bool bigEndian = bytes.starts_with("\xFE\xFF");
    if (!bigEndian && !bytes.starts_with("\xFF\xFE")) return std::string(bytes);
    std::size_t unpaired = 0;
    return "\xEF\xBB\xBF" + platform::utf8OfUtf16(bytes.substr(2), bigEndian, unpaired);
}

std::size_t utf8SequenceLength(std::string_view text, std::size_t at) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                         : lead >= 0xE0 && lead <= 0xEF ? 3
                         : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                        : 0;
    if (length == 0 || at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
    }
    // The second byte's range rules out overlong forms, surrogates and
    // values above U+10FFFF.
    unsigned char second = byte(at + 1);
    if (lead == 0xE0 && second < 0xA0) return 0;
    if (lead == 0xED && second > 0x9F) return 0;
    if (lead == 0xF0 && second < 0x90) return 0;
    if (lead == 0xF4 && second > 0x8F) return 0;
    return length;
}

char32_t nextCharacter(std::string_view text, std::size_t& at, const TextEncoding& encoding) {
    auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
        ++at;
        return byte;
    }
    if (encoding.form == TextEncoding::Form::UnknownBytes) {
        ++at;
        return platform::keptByte(byte);
    }
    if (encoding.form == TextEncoding::Form::Utf8) {
        std::size_t length = utf8SequenceLength(text, at);
        if (length == 0) {
            ++at;
            return kReplacement;
        }
        return platform::nextUtf8(text, at);
    }
    const CodePageCodec& codec = *encoding.codec;
    if (codec.isLeadByte(byte) && at + 1 < text.size()) {
        char32_t pair = codec.decodePair(byte, static_cast<std::uint8_t>(text[at + 1]));
        if (pair != 0) {
            at += 2;
            return pair;
        }
    }
    ++at;
    return codec.decode(byte);
}

std::string charactersOf(std::string_view text, const TextEncoding& encoding) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (text[at] == '&') {
            std::size_t length = 0;
            if (auto character = entityAt(text, at, length)) {
                platform::appendUtf8(out, *character);
                at += length;
                continue;
            }
        }
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            out += text[at++];
            continue;
        }
        platform::appendUtf8(out, nextCharacter(text, at, encoding));
    }
    return out;
}

}  // namespace tessel::verify
