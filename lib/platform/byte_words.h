// Tests on the eight bytes of a 64-bit word at once, with integer arithmetic:
// the RTF reader and the target encoder class bytes of running text this way,
// and the byte scans use them where the processor has no SSE2.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tessel::platform::words {

inline std::uint64_t load(const void* data) {
    std::uint64_t word;
    std::memcpy(&word, data, sizeof word);
    return word;
}

constexpr std::uint64_t repeated(std::uint8_t byte) {
    return 0x0101010101010101ULL * byte;
}

// Nonzero when some byte of `word` is below `limit` (at most 0x80). It may
// also flag a byte right above a flagged one, never miss one.
constexpr std::uint64_t bytesBelow(std::uint64_t word, std::uint8_t limit) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    return (word - repeated(limit)) & ~word & kHighBits;
}

// The high bit of exactly those bytes of `word` that equal `byte`.
constexpr std::uint64_t bytesEqual(std::uint64_t word, std::uint8_t byte) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    std::uint64_t x = word ^ repeated(byte);
    return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// Index within a loaded word of the first byte whose high bit `mask` sets
// (the first byte in memory is the low one on a little-endian machine).
inline std::size_t firstMarkedByte(std::uint64_t mask) {
    if constexpr (std::endian::native == std::endian::little) {
        return static_cast<std::size_t>(std::countr_zero(mask)) / 8;
    } else {
        return static_cast<std::size_t>(std::countl_zero(mask)) / 8;
    }
}

// The bits of the first `n` bytes in memory (0 to 8) of a loaded word.
// Shifted twice by half as much, so that eight bytes need no branch (one
// shift by the whole width is undefined).
constexpr std::uint64_t firstBytes(std::size_t n) {
    const std::uint64_t all = ~std::uint64_t{0};
    const std::size_t half = 4 * n;
    if constexpr (std::endian::native == std::endian::little) {
        return ~((all << half) << half);
    } else {
        return ~((all >> half) >> half);
    }
}
static_assert(firstBytes(0) == 0 && firstBytes(8) == ~std::uint64_t{0} &&
              (std::endian::native != std::endian::little || firstBytes(3) == 0xFFFFFF));

}  // namespace tessel::platform::words
