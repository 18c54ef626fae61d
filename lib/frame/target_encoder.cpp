#include "frame/target_encoder.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "frame/rtf_reader.h"
#include "platform/byte_words.h"
#include "platform/format.h"
#include "platform/spare_buffer.h"
#include "platform/utf8.h"

namespace tessel::frame {

namespace {

namespace res = tessel::resources;
using platform::nextUtf8;

// What a character without a fallback of its own from the RTF becomes where
// the code page lacks it.
std::string_view impliedFallback(char32_t c) {
    switch (c) {
        case kSoftHyphen:
            return "";
        case kNonBreakingHyphen:
            return "-";
        case kSixPerEmSpace:
            return " ";
        default:
            return res::kUnknownCharacterFallback;
    }
}

std::string decimal(char32_t c) {
    return std::to_string(static_cast<unsigned long>(c));
}

const platform::CodePageCodec& codecOr1252(int codePage) {
    const platform::CodePageCodec* codec = platform::CodePageCodec::find(codePage);
    return codec != nullptr ? *codec : platform::CodePageCodec::windows1252();
}

}  // namespace

const res::BackConversionFormat* backConversionFormat(int functionCode) {
    for (const auto& format : res::kBackConversionFormats) {
        if (format.functionCode == functionCode) return &format;
    }
    return nullptr;
}

TargetRules targetRules(int functionCode, int documentCodePage, int chosenCodePage,
                        bool macintoshPass) {
    TargetRules rules;
    rules.codec = &platform::CodePageCodec::windows1252();
    const res::BackConversionFormat* format = backConversionFormat(functionCode);
    if (format == nullptr) return rules;
    rules.unheld = format->unheld;
    rules.softLineBreak = format->softLineBreak;
    rules.macintoshPass = macintoshPass;
    switch (format->codePage) {
        case res::TargetCodePage::Windows1252:
            // HTML and SGML that declare another encoding: the job is given it.
            if (chosenCodePage == 0) break;
            rules.utf8 = chosenCodePage == res::kUtf8CodePage;
            rules.codec = platform::CodePageCodec::find(chosenCodePage);
            break;
        case res::TargetCodePage::Document:
            // The Macintosh pass reads Windows 1252.
            if (macintoshPass) break;
            // A code page chosen for these formats (UTF-8 included) comes first.
            rules.utf8 = chosenCodePage == res::kUtf8CodePage;
            rules.codec = &codecOr1252(chosenCodePage != 0 ? chosenCodePage : documentCodePage);
            break;
        case res::TargetCodePage::ChosenByCaller:
            // No code page given: Windows 1252, as for the other exports.
            if (chosenCodePage == 0) break;
            rules.utf8 = chosenCodePage == res::kUtf8CodePage;
            rules.codec = platform::CodePageCodec::find(chosenCodePage);
            break;
    }
    return rules;
}

namespace {

// The character at `at` of UTF-8 text, `at` moved past it. Two- and
// three-byte sequences, nearly all the text that is not ASCII, are decoded
// here; nextUtf8() reads the rest (and decodes these the same way).
char32_t decodeAt(std::string_view text, std::size_t& at) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    const std::size_t left = text.size() - at;
    if ((lead & 0xE0) == 0xC0 && left >= 2 && (byte(1) & 0xC0) == 0x80 && lead >= 0xC2) {
        char32_t c = (char32_t(lead & 0x1F) << 6) | (byte(1) & 0x3F);
        at += 2;
        return c;
    }
    if ((lead & 0xF0) == 0xE0 && left >= 3 && (byte(1) & 0xC0) == 0x80 &&
        (byte(2) & 0xC0) == 0x80) {
        char32_t c =
            (char32_t(lead & 0x0F) << 12) | (char32_t(byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
        at += 3;
        return c;
    }
    return nextUtf8(text, at);
}

}  // namespace

// A character the code page holds takes no more bytes than its UTF-8 (one
// or two for at least two), so the line is encoded through a pointer into
// encoded_, which is kept at least as long as the longest line so far and
// never shrinks: no line pays for zeroing room it is then written over. Only
// the rules for characters the page does not hold may write more; their
// text is made in rule_ and copied in after the room is checked.
void TargetEncoder::encode(std::string& line) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    const std::string_view text = line;
    const char* const in = text.data();
    const std::size_t size = text.size();
    if (encoded_.size() < size) encoded_.resize(size);
    // A local pointer: stores through it might alias the string's members.
    char* out = encoded_.data();
    std::size_t at = 0;
    std::size_t written = 0;
    bool ascii = true;
    const platform::CodePageCodec* codec = rules_.utf8 ? nullptr : rules_.codec;
    while (at < size) {
        // ASCII eight bytes at a time: the word is stored whole (there is
        // room for the rest of the line), and only the bytes before one from
        // 0x80 up count.
        if (size - at >= sizeof(std::uint64_t)) {
            const std::uint64_t word = platform::words::load(in + at);
            std::memcpy(out + written, &word, sizeof word);
            const std::uint64_t high = word & kHighBits;
            if (high == 0) {
                at += sizeof word;
                written += sizeof word;
                continue;
            }
            const std::size_t plain = platform::words::firstMarkedByte(high);
            at += plain;
            written += plain;
        } else if (static_cast<unsigned char>(in[at]) < 0x80) {
            out[written++] = in[at++];
            continue;
        }
        ascii = false;
        char32_t c = decodeAt(text, at);
        // Characters the page holds, the common case, straight from its tables.
        std::uint16_t bytes = 0;
        if (codec != nullptr) {
            if (c < platform::CodePageCodec::kDirectLimit) {
                bytes = codec->directBytes(c);
            } else if (c >= platform::CodePageCodec::kPunctuationFirst &&
                       c < platform::CodePageCodec::kPunctuationLimit && c != kLineSeparator) {
                bytes = codec->punctuationBytes(c);
            }
        }
        if (bytes != 0) {
            if (bytes > 0xFF) out[written++] = static_cast<char>(bytes >> 8);
            out[written++] = static_cast<char>(bytes & 0xFF);
            continue;
        }
        rule_.clear();
        writeByRule(c, text, at);
        const std::size_t needed = written + rule_.size() + (size - at);
        if (needed > encoded_.size()) encoded_.resize(needed);
        out = encoded_.data();
        std::memcpy(out + written, rule_.data(), rule_.size());
        written += rule_.size();
    }
    // A line of ASCII alone stays as it stands. The others are copied back:
    // most are shorter than their UTF-8, and a string shrinks in place.
    if (!ascii) {
        line.resize(written);
        std::memcpy(line.data(), out, written);
    }
    // The buffer of a line of megabytes is not kept beside the next steps'.
    if (encoded_.capacity() > platform::kSpareBufferKeepLimit) std::string().swap(encoded_);
}

// Writes to rule_ a character that needs more than a table of the page:
// the annotated character of an anchor (its fallback read from `text` at
// `at`, which moves past it), or the character by the format's rule.
void TargetEncoder::writeByRule(char32_t c, std::string_view text, std::size_t& at) {
    if (c != kAnnotationAnchor) {
        writeCharacter(c, impliedFallback(c), rule_);
        return;
    }
    // Anchor, character, separator, fallback, end (see rtf_reader.h).
    if (at >= text.size()) return;
    char32_t annotated = nextUtf8(text, at);
    std::size_t fallbackStart = at;
    std::size_t fallbackEnd = at;
    while (at < text.size()) {
        std::size_t before = at;
        char32_t part = nextUtf8(text, at);
        if (part == kAnnotationSeparator) fallbackStart = at;
        if (part == kAnnotationEnd) {
            fallbackEnd = before;
            break;
        }
        fallbackEnd = at;
    }
    writeCharacter(annotated, text.substr(fallbackStart, fallbackEnd - fallbackStart), rule_);
}

bool TargetEncoder::writeHeld(char32_t c, std::string& out) const {
    if (rules_.utf8) {
        if (platform::isKeptByte(c)) {
            out += static_cast<char>(c - platform::kKeptByteFirst);
        } else {
            platform::appendUtf8(out, c);
        }
        return true;
    }
    if (rules_.codec == nullptr) {
        if (!platform::isKeptByte(c)) return false;
        out += static_cast<char>(c - platform::kKeptByteFirst);
        return true;
    }
    return rules_.codec->encode(c, out);
}

void TargetEncoder::writeCharacter(char32_t c, std::string_view fallback, std::string& out) {
    if (c == kLineSeparator) {
        out += rules_.softLineBreak.empty() ? std::string_view("\n") : rules_.softLineBreak;
        return;
    }
    if (writeHeld(c, out)) return;
    switch (rules_.unheld) {
        case res::UnheldCharacterRule::NumericReference:
            out += platform::fillPlaceholders(res::kNumericReferenceFormat, {decimal(c)});
            return;
        case res::UnheldCharacterRule::LiteralCharacterTag:
            if (std::uint8_t mac = rules_.macintoshPass ? platform::macRomanOnlyByte(c) : 0) {
                out += platform::fillPlaceholders(res::kLiteralCharacterTagFormat, {decimal(mac)});
                return;
            }
            out += platform::fillPlaceholders(res::kLiteralCharacterTagFormat, {decimal(c)});
            noteLost(c);
            return;
        case res::UnheldCharacterRule::Fallback:
            writeFallback(fallback, out);
            noteLost(c);
            return;
    }
}

// The fallback's characters that the code page holds; "?" for the others.
void TargetEncoder::writeFallback(std::string_view fallback, std::string& out) const {
    std::size_t at = 0;
    while (at < fallback.size()) {
        char32_t c = nextUtf8(fallback, at);
        if (!writeHeld(c, out)) out += res::kUnknownCharacterFallback;
    }
}

void TargetEncoder::noteLost(char32_t c) {
    if (std::find(lost_.begin(), lost_.end(), c) == lost_.end()) lost_.push_back(c);
}

std::string characterNames(const std::vector<char32_t>& characters) {
    std::string names;
    for (char32_t c : characters) {
        if (!names.empty()) names += res::kCharacterNameSeparator;
        char hex[16];
        std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(c));
        names += res::kCharacterNamePrefix;
        names += hex;
    }
    return names;
}

}  // namespace tessel::frame
