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
#include "platform/utf8.h"

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

// The replacements of one mode by byte, each padded to the fixed width.
struct EncodingTable {
    std::array<std::array<char, kReplacementWidth>, 256> text{};
    std::array<std::uint8_t, 256> length{};  // zero where the byte stays
    // No byte below 0x80 is replaced: ASCII runs are copied a word at a time.
    bool keepsAscii = true;

    constexpr void set(unsigned char c, std::string_view replacement) {
        for (std::size_t i = 0; i < replacement.size(); ++i) text[c][i] = replacement[i];
        length[c] = static_cast<std::uint8_t>(replacement.size());
        if (c < 0x80) keepsAscii = false;
    }
    bool replaces(char c) const { return length[static_cast<unsigned char>(c)] != 0; }
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
    std::size_t i = 0;
    while (i < line.size()) {
        if (table.keepsAscii) i += platform::asciiPrefixLength(line.substr(i));
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
// being at `first`, and returns the number replaced other than "&". The
// buffer is kept large enough for everything written plus the rest of the
// line as it stands, which is what a whole-word copy of an ASCII run needs;
// a replacement is stored at full width, so it needs that much more.
int encodeInto(const EncodingTable& table, std::string_view line, std::size_t first,
               std::string& out) {
    out.resize(entityRoom(line.size()));
    std::memcpy(out.data(), line.data(), first);
    std::size_t written = first;
    std::size_t at = first;
    int count = 0;
    while (at < line.size()) {
        if (table.keepsAscii) {
            written += platform::copyAscii(line, at, out.data() + written);
            if (at == line.size()) break;
        }
        const char c = line[at++];
        if (!table.replaces(c)) {
            out[written++] = c;
            continue;
        }
        const std::size_t needed = written + kReplacementWidth + (line.size() - at);
        if (needed > out.size()) out.resize(needed + needed / 4);
        const auto& replacement = table.text[static_cast<unsigned char>(c)];
        std::memcpy(out.data() + written, replacement.data(), kReplacementWidth);
        written += table.length[static_cast<unsigned char>(c)];
        if (c != '&') ++count;
    }
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
        platform::rebuildInPlace(
            line, [&](std::string& encoded) { count = encodeInto(table, line, first, encoded); });
    } catch (const std::bad_alloc&) {
        return frame::kOutOfMemory;
    }
    return count;
}

}  // namespace tessel::markup
