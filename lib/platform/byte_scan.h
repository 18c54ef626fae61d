// Finding the few bytes a scan stops at in long runs of ordinary text, eight
// bytes at a time: most words of text hold none of them.
#pragma once

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

// Nonzero when some byte of `word` is zero (it may also flag the byte right
// above a zero byte, never miss one).
constexpr std::uint64_t zeroBytes(std::uint64_t word) {
    return bytesBelow(word, 1);
}

constexpr std::uint64_t repeated(std::uint8_t byte) {
    return 0x0101010101010101ULL * byte;
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
        if (detail::bytesBelow(detail::loadWord(p), limit) == 0) continue;
        for (int k = 0; k < 8; ++k) {
            if (stops(p[k])) return static_cast<std::size_t>(p + k - data);
        }
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
    const std::uint64_t wa = detail::repeated(a), wb = detail::repeated(b),
                        wc = detail::repeated(c);
    auto isStop = [=](std::uint8_t byte) { return byte == a || byte == b || byte == c; };
    const std::uint8_t* p = data;
    const std::uint8_t* end = data + size;
    for (; end - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        if ((detail::zeroBytes(word ^ wa) | detail::zeroBytes(word ^ wb) |
             detail::zeroBytes(word ^ wc)) == 0) {
            continue;
        }
        for (int k = 0; k < 8; ++k) {
            if (isStop(p[k])) return static_cast<std::size_t>(p + k - data);
        }
    }
    for (; p < end; ++p) {
        if (isStop(*p)) return static_cast<std::size_t>(p - data);
    }
    return size;
}

}  // namespace tessel::platform
