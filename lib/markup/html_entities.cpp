#include "markup/html_entities.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <string_view>

#include "frame/return_codes.h"
#include "markup/entity_decoding.h"
#include "platform/byte_scan.h"
#include "platform/spare_buffer.h"

namespace tessel::markup {

namespace res = tessel::resources;

namespace {

using entity_decoding::decodeEntity;
using entity_decoding::kMaxEntitySpan;
using entity_decoding::NumericPolicy;

// Decodes in place: every replacement is shorter than its entity, so the
// text is compacted from left to right.
int decodeEntities(std::string& line, NumericPolicy policy) {
    char* data = line.data();
    const std::size_t size = line.size();
    std::size_t read = 0;
    std::size_t write = 0;
    int count = 0;
    auto copyTo = [&](std::size_t end) {
        if (write != read) std::memmove(data + write, data + read, end - read);
        write += end - read;
        read = end;
    };
    for (const void* found = std::memchr(data, '&', size); found != nullptr;
         found = std::memchr(data + read, '&', size - read)) {
        const std::size_t amp = static_cast<const char*>(found) - data;
        copyTo(amp);
        // The ";" is looked for in the window of kMaxEntitySpan bytes after
        // the "&", tested as one chunk.
        const std::size_t readable = size - amp - 1;
        const std::size_t window = std::min(readable, kMaxEntitySpan);
        const std::size_t semicolon =
            platform::findByteInWindow(data + amp + 1, window, readable, ';');
        std::optional<char> character;
        if (semicolon != window) {
            character = decodeEntity(std::string_view(data + amp, semicolon + 2), readable, policy);
        }
        if (character) {
            data[write++] = *character;
            read = amp + semicolon + 2;
            ++count;
        } else {
            copyTo(amp + 1);  // keep the "&" and go on after it
        }
    }
    copyTo(size);
    line.resize(write);
    return count;
}

// Widest replacement text: each is stored with one fixed-size copy.
constexpr std::size_t kReplacementWidth = 8;
// Most ASCII bytes one mode replaces.
constexpr std::size_t kMaxAsciiStops = 5;

// What each byte of one mode becomes, padded to the fixed width: its
// replacement, or the byte itself. A chunk of text that holds a replaced
// byte is encoded byte by byte from these rows without a test per byte.
struct EncodingTable {
    std::array<std::array<char, kReplacementWidth>, 256> text{};
    std::array<std::uint8_t, 256> length{};   // of the row: 1 where the byte stays
    std::array<std::uint8_t, 256> counted{};  // 1 where a replacement counts ("&" does not)
    std::array<bool, 256> replaced{};
    // The ASCII bytes replaced, the rest 0x80: a chunk is tested for them and
    // for bytes from 0x80 up, which are the only others that may be replaced.
    std::array<std::uint8_t, kMaxAsciiStops> asciiStops{0x80, 0x80, 0x80, 0x80, 0x80};
    std::size_t asciiStopCount = 0;

    constexpr EncodingTable() {
        for (std::size_t c = 0; c < 256; ++c) {
            text[c][0] = static_cast<char>(c);
            length[c] = 1;
        }
    }

    // An empty replacement leaves the byte as it is.
    constexpr void set(unsigned char c, std::string_view replacement) {
        if (replacement.empty()) return;
        text[c] = {};
        for (std::size_t i = 0; i < replacement.size(); ++i) text[c][i] = replacement[i];
        length[c] = static_cast<std::uint8_t>(replacement.size());
        counted[c] = c != '&';
        if (c < 0x80 && !replaced[c]) asciiStops.at(asciiStopCount++) = c;
        replaced[c] = true;
    }
    bool replaces(char c) const { return replaced[static_cast<unsigned char>(c)]; }
    // The bytes the chunk test marks: all that may be replaced.
    bool marks(std::uint8_t c) const { return c >= 0x80 || replaced[c]; }

    platform::detail::ChunkMask stops(platform::detail::Chunk chunk) const {
        using namespace platform::detail;
        ChunkMask found = bytesFromHigh(chunk);
        if (asciiStopCount != 0) {
            found |= bytesEqual(chunk, asciiStops[0]) | bytesEqual(chunk, asciiStops[1]) |
                     bytesEqual(chunk, asciiStops[2]) | bytesEqual(chunk, asciiStops[3]) |
                     bytesEqual(chunk, asciiStops[4]);
        }
        return found;
    }
};

template <std::size_t N>
constexpr void addRows(EncodingTable& table, const res::EntityEncoding (&rows)[N]) {
    for (const auto& row : rows) table.set(row.character, row.replacement);
}

constexpr EncodingTable buildEncodingTable(int mode) {
    EncodingTable table{};
    bool plainText = mode == kEntitiesNamed || mode == kEntitiesCompatible;
    bool compatible = mode == kEntitiesCompatible || mode == kEntitiesCompatibleMarkup;
    if (plainText) {
        addRows(table, res::kAsciiEntities);
        table.set('&', res::kAmpersandEntity);
    }
    if (compatible) {
        addRows(table, res::kCompatible1252Entities);
    } else {
        addRows(table, res::kNamed1252Entities);
    }
    for (std::size_t i = 0; i < res::kLatin1Entities.size(); ++i) {
        table.set(static_cast<unsigned char>(0xA0 + i), res::kLatin1Entities[i]);
    }
    return table;
}

template <std::size_t N>
constexpr bool rowsFit(const res::EntityEncoding (&rows)[N]) {
    for (const auto& row : rows) {
        if (row.replacement.size() > kReplacementWidth) return false;
    }
    return true;
}

constexpr bool replacementsFit() {
    for (std::string_view entity : res::kLatin1Entities) {
        if (entity.size() > kReplacementWidth) return false;
    }
    return rowsFit(res::kAsciiEntities) && rowsFit(res::kNamed1252Entities) &&
           rowsFit(res::kCompatible1252Entities) &&
           res::kAmpersandEntity.size() <= kReplacementWidth;
}
static_assert(replacementsFit(), "a replacement is wider than kReplacementWidth");

constexpr std::array<EncodingTable, 4> kEncodingTables = {
    buildEncodingTable(0), buildEncodingTable(1), buildEncodingTable(2), buildEncodingTable(3)};

// Position of the first replaced byte of the line, or its size.
std::size_t firstReplaced(const EncodingTable& table, std::string_view line) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(line.data());
    auto stops = [&](platform::detail::Chunk chunk) { return table.stops(chunk); };
    auto marks = [&](std::uint8_t byte) { return table.marks(byte); };
    std::size_t i = 0;
    while (i < line.size()) {
        i += platform::detail::findFirst(data + i, line.size() - i, stops, marks);
        if (i == line.size() || table.replaces(line[i])) break;
        ++i;
    }
    return i;
}

// Room for the entities of a typical line; a line with more grows.
constexpr std::size_t entityRoom(std::size_t size) {
    return size + size / 4 + 64;
}

// Writes the line with its replacements into `out`, the first replaced byte
// being at `first`, and returns the number replaced other than "&". A chunk
// without a byte to replace is copied whole; one with such a byte is encoded
// a byte at a time from the table's rows, each stored at full width. Before
// each chunk the buffer holds room for the chunk at full width and the rest
// of the line as it stands. `out` keeps its old bytes until written: only
// the part it grows by is filled.
int encodeInto(const EncodingTable& table, std::string_view line, std::size_t first,
               std::string& out) {
    using namespace platform::detail;
    constexpr std::size_t kChunkRoom = kChunkSize * kReplacementWidth;
    const auto* data = reinterpret_cast<const std::uint8_t*>(line.data());
    const std::size_t size = line.size();
    std::size_t written = first;
    std::size_t at = first;
    char* buffer = nullptr;
    auto makeRoom = [&] {
        const std::size_t needed = written + kChunkRoom + (size - at);
        if (needed > out.size()) out.resize(std::max(needed + needed / 4, entityRoom(size)));
        buffer = out.data();
    };
    makeRoom();
    std::memcpy(buffer, line.data(), first);
    int count = 0;
    auto encodeByte = [&](std::uint8_t c) {
        std::memcpy(buffer + written, table.text[c].data(), kReplacementWidth);
        written += table.length[c];
        count += table.counted[c];
    };
    for (; size - at >= kChunkSize; at += kChunkSize) {
        makeRoom();
        const Chunk chunk = loadChunk(data + at);
        if (table.stops(chunk) == 0) {
            storeChunk(buffer + written, chunk);
            written += kChunkSize;
            continue;
        }
        for (std::size_t i = 0; i < kChunkSize; ++i) encodeByte(data[at + i]);
    }
    makeRoom();
    for (; at < size; ++at) encodeByte(data[at]);
    out.resize(written);
    return count;
}

}  // namespace

int funcHTMLEntitiesToChars(std::string& line) {
    return decodeEntities(line, NumericPolicy::All);
}

int decodeEntitiesForMarkup(std::string& line) {
    return decodeEntities(line, NumericPolicy::SafeForMarkup);
}

int funcCharsToHTMLEntities(std::string& line, int mode) {
    if (mode < kEntitiesNamed || mode > kEntitiesCompatibleMarkup) return frame::kInvalidFunction;
    const EncodingTable& table = kEncodingTables[mode];
    const std::size_t first = firstReplaced(table, line);
    if (first == line.size()) return 0;
    // Every replacement text is made of characters no table converts, apart
    // from the "&" of an entity, which is escaped before any entity is put
    // in: one pass from left to right gives the same text as replacing "&"
    // first and then each character in turn.
    int count = 0;
    try {
        platform::rebuildInPlaceIf(line, [&](std::string& encoded) {
            count = encodeInto(table, line, first, encoded);
            return true;
        });
    } catch (const std::bad_alloc&) {
        return frame::kOutOfMemory;
    }
    return count;
}

}  // namespace tessel::markup
