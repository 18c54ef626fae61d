// What the RTF reader's loops test bytes for, one byte at a time or eight
// at once: letters, digits and hexadecimal digits, the bytes that mean
// something outside text, and the limits of a parameter's value. Shared by
// the reader's source files only.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

#include "platform/byte_words.h"

namespace tessel::frame::rtf_bytes {

inline constexpr int kLineEnd = '\n';

inline constexpr std::array<bool, 256> kLetters = [] {
    std::array<bool, 256> table{};
    for (int c = 'a'; c <= 'z'; ++c) table[c] = table[c - 'a' + 'A'] = true;
    return table;
}();

// Number of ASCII letters at the start of `word` (its first bytes in memory),
// 8 when all are. A letter with 0x20 set is "a" to "z"; below "a", above "z"
// or from 0x80 up it is none. Only the first byte flagged counts: the tests
// may flag bytes after a flagged one too.
inline std::size_t leadingLetters(std::uint64_t word) {
    using namespace platform::words;
    std::uint64_t folded = word | repeated(0x20);
    std::uint64_t aboveZ = (folded + repeated(0x7F - 'z')) & repeated(0x80);
    std::uint64_t other = bytesBelow(folded, 'a') | aboveZ | (word & repeated(0x80));
    return other == 0 ? sizeof word : firstMarkedByte(other);
}

inline bool isLetter(int c) {
    return c >= 0 && kLetters[static_cast<std::size_t>(c) & 0xFF];
}
inline bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

// The value of a hexadecimal digit by its byte; -1 for other bytes.
inline constexpr std::array<std::int8_t, 256> kHexValues = [] {
    std::array<std::int8_t, 256> table{};
    table.fill(-1);
    for (int c = '0'; c <= '9'; ++c) table[c] = static_cast<std::int8_t>(c - '0');
    for (int c = 'a'; c <= 'f'; ++c)
        table[c] = table[c - 'a' + 'A'] = static_cast<std::int8_t>(c - 'a' + 10);
    return table;
}();

inline int hexValue(int c) {
    return c >= 0 ? kHexValues[static_cast<std::size_t>(c) & 0xFF] : -1;
}

// What a byte means to the reader outside binary data.
enum class ByteKind : std::uint8_t { Text, LineEnd, GroupStart, GroupEnd, Backslash };

inline constexpr std::array<ByteKind, 256> kByteKinds = [] {
    std::array<ByteKind, 256> table{};
    table['\r'] = table['\n'] = ByteKind::LineEnd;
    table['{'] = ByteKind::GroupStart;
    table['}'] = ByteKind::GroupEnd;
    table['\\'] = ByteKind::Backslash;
    return table;
}();

inline bool endsText(unsigned char byte) {
    return kByteKinds[byte] != ByteKind::Text;
}

// Nonzero when some byte of `word` may end a copy of text: a backslash, a
// brace, a line end or a byte from 0x80 up. Eight bytes are tested at once;
// the test may also flag a few others ("|", "~", control bytes below 0x0E,
// a byte after one from 0x80 up), which are then looked at singly.
inline std::uint64_t mayEndText(std::uint64_t word) {
    using namespace platform::words;
    // From 0x7B ("{") up, and 0x80 up, in one addition: no byte is missed,
    // as a carry out of one byte only makes the next one larger.
    std::uint64_t braceOrHigh = (word | (word + repeated(0x80 - '{'))) & repeated(0x80);
    return braceOrHigh | bytesEqual(word, '\\') | bytesBelow(word, '\r' + 1);
}

// Nonzero when some byte of `word` may end a copy of text kept as bytes: a
// backslash, a brace or a line end. Flags no byte from 0x80 up but 0xFB to
// 0xFF (and the few others of mayEndText()), which are then looked at singly.
inline std::uint64_t mayEndBytes(std::uint64_t word) {
    using namespace platform::words;
    // The low seven bits from 0x7B ("{") up; no carry crosses a byte.
    std::uint64_t braceLike = ((word & repeated(0x7F)) + repeated(0x80 - '{')) & repeated(0x80);
    return braceLike | bytesEqual(word, '\\') | bytesBelow(word, '\r' + 1);
}

// Plain text is copied into room made for the rest of the buffer at once:
// three bytes of UTF-8 for every byte, and a word more, as eight bytes are
// stored at a time. (The line's buffer keeps its size from paragraph to
// paragraph, so the room is made once, not zeroed, and not made again.)
inline constexpr std::size_t kMaxUtf8PerByte = 3;
inline constexpr std::size_t kWordBytes = 8;

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

inline bool isHighSurrogate(char32_t c) {
    return c >= 0xD800 && c < 0xDC00;
}
inline bool isLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c < 0xE000;
}

// Parameter values saturate here; the sign is applied afterwards.
inline constexpr std::int64_t kParameterCeiling =
    static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;

inline std::int32_t clampParameter(std::int64_t magnitude, bool negative) {
    if (negative) return static_cast<std::int32_t>(-magnitude);
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(magnitude, std::numeric_limits<std::int32_t>::max()));
}

// Eight bytes at a time, where eight are left: the word is stored whole at
// `out` (the room holds a word more), and the bytes before the first one
// `mayEnd` flags are taken. True when none was flagged and the copy goes on
// with the next word; false when the byte at `at` must be looked at singly.
template <typename MayEnd>
[[gnu::always_inline]] inline bool copyWordIfPlain(const char* data, std::size_t& at,
                                                   std::size_t end, char*& out, MayEnd mayEnd) {
    if (end - at < kWordBytes) return false;
    std::uint64_t word = platform::words::load(data + at);
    std::memcpy(out, &word, kWordBytes);
    std::uint64_t flagged = mayEnd(word);
    std::size_t plain = flagged == 0 ? kWordBytes : platform::words::firstMarkedByte(flagged);
    at += plain;
    out += plain;
    return flagged == 0;
}

}  // namespace tessel::frame::rtf_bytes
