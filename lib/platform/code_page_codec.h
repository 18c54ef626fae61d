// Characters and bytes of a Windows code page, in both directions, over the
// tables of lib/resources/code_page_tables.h.
//
// Bytes that have no character in their page (undefined single bytes, a lead
// byte without a valid trail byte, bytes of a symbol font) are carried as
// "kept bytes", the private-use characters U+F000 to U+F0FF: every page
// writes them back as the byte they stand for, so such bytes pass through a
// back-conversion unchanged, as they always did. (Word uses the same range
// for the characters of symbol fonts.)
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "resources/code_page_tables.h"

namespace tessel::platform {

inline constexpr char32_t kKeptByteFirst = 0xF000;
inline constexpr char32_t kKeptByteLast = 0xF0FF;

inline constexpr char32_t keptByte(std::uint8_t byte) {
    return kKeptByteFirst + byte;
}
inline constexpr bool isKeptByte(char32_t c) {
    return c >= kKeptByteFirst && c <= kKeptByteLast;
}

class CodePageCodec {
  public:
    // The codec of a page with a table, or null.
    static const CodePageCodec* find(int codePage);
    // Windows 1252, which every reading falls back to.
    static const CodePageCodec& windows1252();

    int codePage() const { return table_.codePage; }
    bool isDoubleByte() const { return table_.leadRow != nullptr; }
    bool isLeadByte(std::uint8_t byte) const {
        return byte >= 0x80 && isDoubleByte() && table_.leadRow[byte - 0x80] >= 0;
    }

    // Character of a single byte (a lead byte gives its kept byte).
    char32_t decode(std::uint8_t byte) const {
        if (byte < 0x80) return byte;
        char16_t c = table_.high[byte - 0x80];
        return c == 0 ? keptByte(byte) : c;
    }
    // Character of a lead and a trail byte; 0 when the pair has none.
    char32_t decodePair(std::uint8_t lead, std::uint8_t trail) const;

    // Appends the bytes of `c` to `out`; false (nothing appended) when the
    // page holds no bytes for it. Kept bytes are always held.
    bool encode(char32_t c, std::string& out) const;

    // Bytes of a character from U+0080 to U+07FF (as in direct_), 0 for none.
    std::uint16_t directBytes(char32_t c) const { return direct_[c - 0x80]; }
    static constexpr char32_t kDirectLimit = 0x800;
    // Bytes of a character of general punctuation, currency and letterlike
    // symbols (U+2000 to U+22FF), 0 for none.
    std::uint16_t punctuationBytes(char32_t c) const { return punctuation_[c - kPunctuationFirst]; }
    static constexpr char32_t kPunctuationFirst = 0x2000;
    static constexpr char32_t kPunctuationLimit = 0x2300;

    // UTF-8 of the character of a single byte from 0x80 up (its kept byte
    // for lead bytes), for readers that copy text in bulk.
    struct Utf8 {
        char bytes[3];
        std::uint8_t length;
    };
    const Utf8& highByteUtf8(std::uint8_t byte) const { return highUtf8_[byte - 0x80]; }
    // Appends the UTF-8 of `bytes`, text of a single-byte page, to `out`.
    void appendSingleByteUtf8(std::string_view bytes, std::string& out) const;

    explicit CodePageCodec(const resources::CodePageTable& table);

  private:
    const resources::CodePageTable& table_;
    // Bytes of U+0080 to U+07FF by direct index (0 = none), and of every
    // other character by binary search; one byte b is stored as b, a pair
    // as lead * 256 + trail.
    std::vector<std::uint16_t> direct_;
    std::vector<std::uint16_t> punctuation_;
    std::vector<std::pair<char32_t, std::uint16_t>> sorted_;
    Utf8 highUtf8_[128];
};

// The Macintosh byte of a character that the Macintosh Roman set holds and
// Windows 1252 lacks; 0 when there is none.
std::uint8_t macRomanOnlyByte(char32_t c);

}  // namespace tessel::platform
