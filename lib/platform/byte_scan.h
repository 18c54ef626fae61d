// Finding the few bytes a scan stops at in long runs of ordinary text, eight
// bytes at a time: most words of text hold none of them.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tessel::platform {

namespace detail {

inline std::uint64_t loadWord(const char* data) {
    std::uint64_t word;
    std::memcpy(&word, data, sizeof word);
    return word;
}

// Nonzero when some byte of `word` is below `limit` (at most 0x80). It may
// also flag a byte right above a flagged one, never miss one.
constexpr std::uint64_t bytesBelow(std::uint64_t word, std::uint8_t limit) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    return (word - kOnes * limit) & ~word & kHighBits;
}

constexpr std::uint64_t repeated(std::uint8_t byte) {
    return 0x0101010101010101ULL * byte;
}

// The high bit of exactly those bytes of `word` that equal `byte`.
constexpr std::uint64_t bytesEqual(std::uint64_t word, std::uint8_t byte) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    std::uint64_t x = word ^ repeated(byte);
    return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// Index within a loaded word of the first byte whose high bit `mask` sets
// (the first byte in memory is the low one on a little-endian machine).
inline std::size_t firstMarked(std::uint64_t mask) {
    if constexpr (std::endian::native == std::endian::little) {
        return static_cast<std::size_t>(std::countr_zero(mask)) / 8;
    } else {
        return static_cast<std::size_t>(std::countl_zero(mask)) / 8;
    }
}

}  // namespace detail

// Index of the first carriage return or line feed in `data[0, size)` (or of
// the first Ctrl-Z, 0x1A, when `ctrlZ` is set), or `size` when there is none.
inline std::size_t findLineEnd(const char* data, std::size_t size, bool ctrlZ) {
    auto stops = [ctrlZ](char c) { return c == '\n' || c == '\r' || (ctrlZ && c == '\x1A'); };
    // Every byte looked for is below 0x1B; without Ctrl-Z, below 0x0E.
    const std::uint8_t limit = ctrlZ ? 0x1B : 0x0E;
    const char* p = data;
    const char* end = data + size;
    for (; end - p >= 8; p += 8) {
        std::uint64_t word = detail::loadWord(p);
        if (detail::bytesBelow(word, limit) == 0) continue;
        // A small byte: find the stops among the word's bytes exactly.
        std::uint64_t found = detail::bytesEqual(word, '\n') | detail::bytesEqual(word, '\r');
        if (ctrlZ) found |= detail::bytesEqual(word, 0x1A);
        if (found != 0) return static_cast<std::size_t>(p - data) + detail::firstMarked(found);
    }
    for (; p < end; ++p) {
        if (stops(*p)) return static_cast<std::size_t>(p - data);
    }
    return size;
}

// Index of the first byte of `data[0, size)` that is one of `stops[0,
// count)` (count 1 to 3), or `size` when there is none.
inline std::size_t findFirstOf(const std::uint8_t* data, std::size_t size,
                               const std::uint8_t* stops, std::size_t count) {
    // Missing stops repeat the first: the same test three times.
    const std::uint8_t a = stops[0];
    const std::uint8_t b = count > 1 ? stops[1] : a;
    const std::uint8_t c = count > 2 ? stops[2] : a;
    auto isStop = [=](std::uint8_t byte) { return byte == a || byte == b || byte == c; };
    const std::uint8_t* p = data;
    const std::uint8_t* end = data + size;
    for (; end - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        std::uint64_t found =
            detail::bytesEqual(word, a) | detail::bytesEqual(word, b) | detail::bytesEqual(word, c);
        if (found != 0) return static_cast<std::size_t>(p - data) + detail::firstMarked(found);
    }
    for (; p < end; ++p) {
        if (isStop(*p)) return static_cast<std::size_t>(p - data);
    }
    return size;
}

}  // namespace tessel::platform
