// Finding the few bytes a scan stops at in long runs of ordinary text, a
// chunk of bytes at a time: most words of text hold none of them. A chunk is
// sixteen bytes compared at once where the processor has SSE2 (every x86-64
// one), else an eight-byte word tested with integer arithmetic.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#else
#include <cstring>

#include "platform/byte_words.h"
#endif

namespace tessel::platform {

namespace detail {

#if defined(__SSE2__)

inline constexpr std::size_t kChunkSize = 16;
using Chunk = __m128i;
// Bit i stands for byte i of the chunk.
using ChunkMask = std::uint32_t;

inline Chunk loadChunk(const std::uint8_t* data) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
}

inline void storeChunk(char* out, Chunk chunk) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), chunk);
}

// The bytes of a chunk that a test selects, all bits set in each. Tests are
// joined with "|" on whole chunks, and the marks taken once, where the mask
// is wanted: it converts to one.
struct Matches {
    __m128i bytes;
    operator ChunkMask() const { return static_cast<ChunkMask>(_mm_movemask_epi8(bytes)); }
};

inline Matches operator|(Matches a, Matches b) {
    return {_mm_or_si128(a.bytes, b.bytes)};
}

inline Matches bytesEqual(Chunk chunk, std::uint8_t byte) {
    return {_mm_cmpeq_epi8(chunk, _mm_set1_epi8(static_cast<char>(byte)))};
}

// The bytes of the chunk from 0x80 up: the marks are their high bits.
inline Matches bytesFromHigh(Chunk chunk) {
    return {chunk};
}

// The bytes of the chunk from `low` to `low + count - 1` (count 1 to 127),
// in one signed comparison: moved by 0x80 - low, exactly those bytes become
// the lowest signed values, -128 to -128 + count - 1.
template <std::uint8_t low, std::uint8_t count>
inline Matches bytesInRange(Chunk chunk) {
    static_assert(count >= 1 && count < 0x80);
    __m128i moved = _mm_add_epi8(chunk, _mm_set1_epi8(static_cast<char>(0x80 - low)));
    return {_mm_cmplt_epi8(moved, _mm_set1_epi8(static_cast<char>(-128 + count)))};
}

// Index within the chunk of the first byte a (nonzero) mask marks.
inline std::size_t firstMarked(ChunkMask mask) {
    return static_cast<std::size_t>(std::countr_zero(mask));
}

// Index within the chunk of the last byte a (nonzero) mask marks.
inline std::size_t lastMarked(ChunkMask mask) {
    return static_cast<std::size_t>(std::bit_width(mask)) - 1;
}

// The number of bytes a mask marks. Without a population count in the
// baseline instruction set, std::popcount is a library call: the bits are
// summed in place instead.
inline std::size_t countMarked(ChunkMask mask) {
#if defined(__POPCNT__)
    return static_cast<std::size_t>(std::popcount(mask));
#else
    mask -= (mask >> 1) & 0x55555555u;
    mask = (mask & 0x33333333u) + ((mask >> 2) & 0x33333333u);
    mask = (mask + (mask >> 4)) & 0x0F0F0F0Fu;
    return static_cast<std::size_t>((mask * 0x01010101u) >> 24);
#endif
}

// The marks of the first `count` bytes of a chunk (count below kChunkSize).
inline ChunkMask firstBytes(std::size_t count) {
    return (ChunkMask{1} << count) - 1;
}

// The bytes at which two chunks are equal.
inline Matches bytesSame(Chunk a, Chunk b) {
    return {_mm_cmpeq_epi8(a, b)};
}

// The marks of every byte of a chunk.
inline constexpr ChunkMask kAllBytes = 0xFFFF;

#else

inline constexpr std::size_t kChunkSize = 8;
using Chunk = std::uint64_t;
// The high bit of byte i stands for byte i of the word.
using ChunkMask = std::uint64_t;

inline Chunk loadChunk(const std::uint8_t* data) {
    return words::load(data);
}

inline void storeChunk(char* out, Chunk word) {
    std::memcpy(out, &word, sizeof word);
}

// The bytes of a word that a test selects, by their high bits: the marks
// themselves.
struct Matches {
    std::uint64_t bytes;
    operator ChunkMask() const { return bytes; }
};

inline Matches operator|(Matches a, Matches b) {
    return {a.bytes | b.bytes};
}

inline Matches bytesEqual(Chunk word, std::uint8_t byte) {
    return {words::bytesEqual(word, byte)};
}

inline Matches bytesFromHigh(Chunk word) {
    return {word & 0x8080808080808080ULL};
}

// The bytes of the word from `low` to `low + count - 1`, one value at a
// time (the ranges scanned are a few values wide).
template <std::uint8_t low, std::uint8_t count>
inline Matches bytesInRange(Chunk word) {
    static_assert(count >= 1 && count < 0x80);
    ChunkMask mask = 0;
    for (unsigned value = low; value < low + count; ++value) {
        mask |= words::bytesEqual(word, static_cast<std::uint8_t>(value));
    }
    return {mask};
}

inline std::size_t firstMarked(ChunkMask mask) {
    return words::firstMarkedByte(mask);
}

inline std::size_t lastMarked(ChunkMask mask) {
    if constexpr (std::endian::native == std::endian::little) {
        return static_cast<std::size_t>(std::bit_width(mask) - 1) / 8;
    } else {
        return 7 - static_cast<std::size_t>(std::countr_zero(mask)) / 8;
    }
}

// One high bit per marked byte: moved to the low bits, the bytes' sum
// gathers in the top byte.
inline std::size_t countMarked(ChunkMask mask) {
    return static_cast<std::size_t>(((mask >> 7) * 0x0101010101010101ULL) >> 56);
}

// The marks of the first `count` bytes of a word in memory (count below
// kChunkSize), whichever end of the loaded word they are.
inline ChunkMask firstBytes(std::size_t count) {
    return words::firstBytes(count);
}

inline Matches bytesSame(Chunk a, Chunk b) {
    return {words::bytesEqual(a ^ b, 0)};
}

inline constexpr ChunkMask kAllBytes = 0x8080808080808080ULL;

#endif

// Index of the first byte of data[0, size) for which `marks` (chunk -> mask)
// marks a byte and `isStop` holds, or `size`: whole chunks first, then the
// last chunk of the data, which overlaps bytes already passed; data shorter
// than a chunk byte by byte.
template <class Marks, class IsStop>
inline std::size_t findFirst(const std::uint8_t* data, std::size_t size, Marks marks,
                             IsStop isStop) {
    const std::uint8_t* p = data;
    const std::uint8_t* end = data + size;
    for (; static_cast<std::size_t>(end - p) >= kChunkSize; p += kChunkSize) {
        ChunkMask found = marks(loadChunk(p));
        if (found != 0) return static_cast<std::size_t>(p - data) + firstMarked(found);
    }
    if (p == end) return size;
    if (size >= kChunkSize) {
        // The bytes of the last chunk before p hold no stop: the first one
        // it marks is at or after p.
        const std::uint8_t* last = end - kChunkSize;
        ChunkMask found = marks(loadChunk(last));
        return found != 0 ? static_cast<std::size_t>(last - data) + firstMarked(found) : size;
    }
    for (; p < end; ++p) {
        if (isStop(*p)) return static_cast<std::size_t>(p - data);
    }
    return size;
}

}  // namespace detail

// Whether the first `size` bytes at `a` and `b` are equal, compared a chunk
// at a time: up to a chunk less a byte past them is read at both.
inline bool sameBytesInPadded(const char* a, const char* b, std::size_t size) {
    using namespace detail;
    for (std::size_t at = 0; at < size; at += kChunkSize) {
        ChunkMask differing =
            kAllBytes &
            ~ChunkMask{bytesSame(loadChunk(reinterpret_cast<const std::uint8_t*>(a + at)),
                                 loadChunk(reinterpret_cast<const std::uint8_t*>(b + at)))};
        if (size - at < kChunkSize) differing &= firstBytes(size - at);
        if (differing != 0) return false;
    }
    return true;
}

// Index of the first carriage return or line feed in `data[0, size)` (or of
// the first Ctrl-Z, 0x1A, when `ctrlZ` is set), or `size` when there is none.
inline std::size_t findLineEnd(const char* data, std::size_t size, bool ctrlZ) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
    using detail::bytesEqual;
    // Text bytes lie above all three stops: one test passes most of them.
    if (ctrlZ) {
        auto marks = [](detail::Chunk chunk) {
            return bytesEqual(chunk, '\n') | bytesEqual(chunk, '\r') | bytesEqual(chunk, 0x1A);
        };
        auto isStop = [](std::uint8_t byte) {
            return byte <= 0x1A && (byte == '\n' || byte == '\r' || byte == 0x1A);
        };
        return detail::findFirst(bytes, size, marks, isStop);
    }
    // Two tests per chunk where Ctrl-Z is text.
    auto marks = [](detail::Chunk chunk) {
        return bytesEqual(chunk, '\n') | bytesEqual(chunk, '\r');
    };
    auto isStop = [](std::uint8_t byte) { return byte <= '\r' && (byte == '\n' || byte == '\r'); };
    return detail::findFirst(bytes, size, marks, isStop);
}

// Index of the first byte of `data[0, size)` that is one of `stops[0,
// count)` (count 1 to 3), or `size` when there is none.
inline std::size_t findFirstOf(const std::uint8_t* data, std::size_t size,
                               const std::uint8_t* stops, std::size_t count) {
    // Missing stops repeat the first: the same test three times.
    const std::uint8_t a = stops[0];
    const std::uint8_t b = count > 1 ? stops[1] : a;
    const std::uint8_t c = count > 2 ? stops[2] : a;
    auto marks = [=](detail::Chunk chunk) {
        return detail::bytesEqual(chunk, a) | detail::bytesEqual(chunk, b) |
               detail::bytesEqual(chunk, c);
    };
    auto isStop = [=](std::uint8_t byte) { return byte == a || byte == b || byte == c; };
    return detail::findFirst(data, size, marks, isStop);
}

// Bytes past the end of the text that the padded searches may read.
inline constexpr std::size_t kScanPadding = detail::kChunkSize;

// Index of the first byte of `data[from, size)` that is `a` or `b`, or
// `size` when there is none. Whole chunks are read to the very end, so the
// memory must go on for kScanPadding bytes past `size`; what lies there is
// never reported. For short distances, where a call costs more than the
// search.
inline std::size_t findEitherInPadded(const char* data, std::size_t from, std::size_t size, char a,
                                      char b) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
    for (std::size_t pos = from; pos < size; pos += detail::kChunkSize) {
        const detail::Chunk chunk = detail::loadChunk(bytes + pos);
        detail::ChunkMask found = detail::bytesEqual(chunk, static_cast<std::uint8_t>(a)) |
                                  detail::bytesEqual(chunk, static_cast<std::uint8_t>(b));
        if (size - pos < detail::kChunkSize) found &= detail::firstBytes(size - pos);
        if (found != 0) return pos + detail::firstMarked(found);
    }
    return size;
}

// Index of the first `byte` in the short window `data[0, size)`, or `size`
// when there is none. A window of at most one chunk is tested at once where
// the `readable` bytes from `data` to the end of the text hold a whole chunk:
// a call or a byte loop costs more for a few bytes.
inline std::size_t findByteInWindow(const char* data, std::size_t size, std::size_t readable,
                                    char byte) {
    const auto stop = static_cast<std::uint8_t>(byte);
    if (size <= detail::kChunkSize && readable >= detail::kChunkSize) {
        const detail::ChunkMask found = detail::bytesEqual(
            detail::loadChunk(reinterpret_cast<const std::uint8_t*>(data)), stop);
        if (found == 0) return size;
        const std::size_t at = detail::firstMarked(found);
        return at < size ? at : size;
    }
    for (std::size_t i = 0; i < size; ++i) {
        if (static_cast<std::uint8_t>(data[i]) == stop) return i;
    }
    return size;
}

}  // namespace tessel::platform
