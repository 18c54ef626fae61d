#include "frame/rtf_writer.h"

#include <array>
#include <bit>
#include <cstdint>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#else
#include "platform/byte_words.h"
#endif

#include "platform/spare_buffer.h"
#include "resources/rtf_texts.h"

namespace tessel::frame {

namespace res = tessel::resources;

namespace {

// Replacement of each byte value, empty for bytes written as they are.
constexpr std::array<std::string_view, 256> buildEscapeTable() {
    std::array<std::string_view, 256> table{};
    for (const auto& escape : res::kRtfEscapes) {
        table[static_cast<unsigned char>(escape.byte)] = escape.replacement;
    }
    return table;
}

constexpr auto kEscapeTable = buildEscapeTable();

// Extra length each byte needs when escaped (0 for bytes written as they are);
// the scan that sizes the buffer reads this small table only.
constexpr std::array<unsigned char, 256> buildGrowthTable() {
    std::array<unsigned char, 256> table{};
    for (const auto& escape : res::kRtfEscapes) {
        table[static_cast<unsigned char>(escape.byte)] =
            static_cast<unsigned char>(escape.replacement.size() - 1);
    }
    return table;
}

constexpr auto kGrowthTable = buildGrowthTable();

// Whether a byte is escaped, as one branch-free test the compiler can run on
// many bytes at once; most lines need no escaping at all.
constexpr bool isEscaped(unsigned char c) {
    return (c == '\\') | (c == '{') | (c == '}') | (c == '\t') | (c == '\n') |
           (static_cast<unsigned char>(c - 0x91) < 7);
}

constexpr bool testMatchesTable() {
    for (int c = 0; c < 256; ++c) {
        if (isEscaped(static_cast<unsigned char>(c)) != (kGrowthTable[c] != 0)) return false;
    }
    return true;
}
static_assert(testMatchesTable(), "the quick test must select exactly the escaped bytes");

// Position of the first escaped byte at or after `from`, or `size`.
#if defined(__SSE2__)

constexpr std::size_t kChunk = 16;

// Bit k set when byte k of the sixteen at `chunkStart` is escaped.
unsigned escapedBytes(const unsigned char* chunkStart) {
    __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chunkStart));
    __m128i ascii =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\\')),
                                  _mm_cmpeq_epi8(chunk, _mm_set1_epi8('{'))),
                     _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('}')),
                                               _mm_cmpeq_epi8(chunk, _mm_set1_epi8('\t'))),
                                  _mm_cmpeq_epi8(chunk, _mm_set1_epi8('\n'))));
    // 0x91 to 0x97 moved down by 0x11 are the signed bytes -128 to -122,
    // the only ones below -121.
    __m128i moved = _mm_add_epi8(chunk, _mm_set1_epi8(static_cast<char>(-0x11)));
    __m128i quotes = _mm_cmplt_epi8(moved, _mm_set1_epi8(-121));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(ascii, quotes)));
}

std::size_t nextEscaped(const unsigned char* bytes, std::size_t from, std::size_t size) {
    if (size - from < kChunk) {
        for (std::size_t i = from; i < size; ++i) {
            if (isEscaped(bytes[i])) return i;
        }
        return size;
    }
    std::size_t i = from;
    for (; i + kChunk <= size; i += kChunk) {
        if (unsigned found = escapedBytes(bytes + i); found != 0) {
            return i + static_cast<std::size_t>(std::countr_zero(found));
        }
    }
    if (i == size) return size;
    // The last sixteen bytes of the text, which overlap bytes already passed.
    const std::size_t last = size - kChunk;
    unsigned found = escapedBytes(bytes + last) & (~0U << (i - last));
    return found != 0 ? last + static_cast<std::size_t>(std::countr_zero(found)) : size;
}

#else

// Eight bytes at a time, tested with integer arithmetic: a word of bytes
// below 0x80, none of them one of the five escaped ASCII characters, needs no
// closer look.
bool wordMayNeedEscaping(std::uint64_t word) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    return ((word & kHighBits) | platform::words::bytesEqual(word, '\\') |
            platform::words::bytesEqual(word, '{') | platform::words::bytesEqual(word, '}') |
            platform::words::bytesEqual(word, '\t') | platform::words::bytesEqual(word, '\n')) != 0;
}

std::size_t nextEscaped(const unsigned char* bytes, std::size_t from, std::size_t size) {
    std::size_t i = from;
    for (; i + 8 <= size; i += 8) {
        if (!wordMayNeedEscaping(platform::words::load(bytes + i))) continue;
        for (std::size_t k = i; k < i + 8; ++k) {
            if (isEscaped(bytes[k])) return k;
        }
    }
    for (; i < size; ++i) {
        if (isEscaped(bytes[i])) return i;
    }
    return size;
}

#endif

}  // namespace

bool escapeRtf(std::string& line) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t size = line.size();
    const std::size_t first = nextEscaped(bytes, 0, size);
    if (first == size) return true;
    std::size_t extra = 0;
    for (std::size_t i = first; i < size; i = nextEscaped(bytes, i + 1, size)) {
        extra += kGrowthTable[bytes[i]];
    }
    try {
        platform::rebuildInPlace(line, [&](std::string& escaped) {
            escaped.reserve(size + extra);
            // The bytes between two escaped ones are copied as one run.
            std::size_t runStart = 0;
            for (std::size_t i = first; i < size; i = nextEscaped(bytes, i + 1, size)) {
                escaped.append(line, runStart, i - runStart);
                escaped += kEscapeTable[bytes[i]];
                runStart = i + 1;
            }
            escaped.append(line, runStart, size - runStart);
        });
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::string_view tagOpening(TagKind kind) {
    switch (kind) {
        case TagKind::Internal:
            return res::kInternalTagOpen;
        case TagKind::External:
            return res::kExternalTagOpen;
        case TagKind::DoNotTranslate:
            return res::kDoNotTranslateOpen;
    }
    return res::kInternalTagOpen;
}

void appendTagRun(std::string& out, TagKind kind, std::string_view text) {
    out += tagOpening(kind);
    out += text;
    out += res::kTagClose;
}

void writeRtfHeader(platform::OutputStream& out) {
    out.write(res::kRtfHeader);
}
void writeParagraphEnd(platform::OutputStream& out) {
    out.write(res::kParagraphEnd);
}
void writeDocumentEnd(platform::OutputStream& out) {
    out.write(res::kDocumentEnd);
}

}  // namespace tessel::frame
