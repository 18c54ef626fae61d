#include "frame/rtf_writer.h"

#include <array>
#include <cstdint>
#include <new>

#include "platform/byte_scan.h"
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
std::size_t nextEscaped(const unsigned char* bytes, std::size_t from, std::size_t size) {
    auto marks = [](platform::detail::Chunk chunk) { return rtfEscapedBytes(chunk); };
    auto isStop = [](std::uint8_t byte) { return isEscaped(byte); };
    return from + platform::detail::findFirst(bytes + from, size - from, marks, isStop);
}

}  // namespace

bool isRtfEscaped(char c) {
    return isEscaped(static_cast<unsigned char>(c));
}

std::string_view rtfEscapeOf(char c) {
    return kEscapeTable[static_cast<unsigned char>(c)];
}

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
