#include "markup/html_entities.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

#include "frame/return_codes.h"
#include "platform/spare_buffer.h"
#include "resources/html_entity_tables.h"

namespace tessel::markup {

namespace res = tessel::resources;

namespace {

// Largest distance from "&" to the ";" that ends an entity.
constexpr std::size_t kMaxEntitySpan = 15;

enum class NumericPolicy { All, SafeForMarkup };

// Walking the sorted table until the text no longer sorts above an entry
// finds exactly the entry equal to the text; an index by length and the
// first letter of the name narrows that walk to a few entries.
class NamedEntityIndex {
  public:
    NamedEntityIndex() {
        for (std::size_t i = 0; i < res::kEntityDecodingTable.size(); ++i) {
            std::string_view entity = res::kEntityDecodingTable[i].entity;
            buckets_[bucketOf(entity)].push_back(static_cast<unsigned char>(i));
        }
    }
    std::optional<char> find(std::string_view text) const {
        if (text.size() < 3) return std::nullopt;
        for (unsigned char i : buckets_[bucketOf(text)]) {
            if (res::kEntityDecodingTable[i].entity == text) {
                return res::kEntityDecodingTable[i].character;
            }
        }
        return std::nullopt;
    }

  private:
    // Text is "&name;": its length and the name's first letter.
    static std::size_t bucketOf(std::string_view text) {
        return (text.size() * 64 + static_cast<unsigned char>(text[1])) % kBuckets;
    }
    static constexpr std::size_t kBuckets = 257;
    std::array<std::vector<unsigned char>, kBuckets> buckets_;
};

std::optional<char> lookUpNamedEntity(std::string_view text) {
    static const NamedEntityIndex index;
    return index.find(text);
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The value of "&#digits;" or "&#xhex;" when it is 1 to 255; references with
// other characters, no digits, or values outside that range give nothing, so
// they stay in the text instead of turning into a lost or wrong byte.
std::optional<unsigned char> numericReferenceValue(std::string_view text) {
    std::string_view digits = text.substr(2, text.size() - 3);  // between "&#" and ";"
    int base = 10;
    if (!digits.empty() && (digits.front() == 'x' || digits.front() == 'X')) {
        base = 16;
        digits.remove_prefix(1);
    }
    if (digits.empty()) return std::nullopt;
    int value = 0;
    for (char c : digits) {
        int digit = hexDigitValue(c);
        if (digit < 0 || digit >= base) return std::nullopt;
        value = value * base + digit;
        if (value > 255) return std::nullopt;
    }
    if (value == 0) return std::nullopt;
    return static_cast<unsigned char>(value);
}

// Characters a numeric reference must not turn into inside a line that is
// already escaped for RTF and still to be marked up.
bool unsafeInMarkup(unsigned char c) {
    switch (c) {
        case '\\':
        case '{':
        case '}':
        case '<':
        case '>':
        case '&':
        case '"':
            return true;
        default:
            return c < 0x20 && c != '\t';
    }
}

std::optional<char> decodeEntity(std::string_view text, NumericPolicy policy) {
    if (text.size() >= 3 && text[1] == '#') {
        auto value = numericReferenceValue(text);
        if (!value) return std::nullopt;
        if (policy == NumericPolicy::SafeForMarkup && unsafeInMarkup(*value)) return std::nullopt;
        return static_cast<char>(*value);
    }
    return lookUpNamedEntity(text);
}

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
    for (;;) {
        const void* found = std::memchr(data + read, '&', size - read);
        if (found == nullptr) break;
        std::size_t amp = static_cast<const char*>(found) - data;
        copyTo(amp);
        std::size_t windowEnd = std::min(size, amp + kMaxEntitySpan + 1);
        const void* semicolon = std::memchr(data + amp + 1, ';', windowEnd - amp - 1);
        std::optional<char> character;
        std::size_t entityEnd = 0;
        if (semicolon != nullptr) {
            entityEnd = static_cast<const char*>(semicolon) - data + 1;
            character = decodeEntity(std::string_view(data + amp, entityEnd - amp), policy);
        }
        if (character) {
            data[write++] = *character;
            read = entityEnd;
            ++count;
        } else {
            copyTo(amp + 1);  // keep the "&" and go on after it
        }
    }
    copyTo(size);
    line.resize(write);
    return count;
}

// Replacement of every byte in one mode; empty when the byte stays.
using EncodingTable = std::array<std::string_view, 256>;

template <std::size_t N>
constexpr void addRows(EncodingTable& table, const res::EntityEncoding (&rows)[N]) {
    for (const auto& row : rows) table[row.character] = row.replacement;
}

constexpr EncodingTable buildEncodingTable(int mode) {
    EncodingTable table{};
    bool plainText = mode == kEntitiesNamed || mode == kEntitiesCompatible;
    bool compatible = mode == kEntitiesCompatible || mode == kEntitiesCompatibleMarkup;
    if (plainText) {
        addRows(table, res::kAsciiEntities);
        table['&'] = res::kAmpersandEntity;
    }
    if (compatible) {
        addRows(table, res::kCompatible1252Entities);
    } else {
        addRows(table, res::kNamed1252Entities);
    }
    for (std::size_t i = 0; i < res::kLatin1Entities.size(); ++i) {
        table[0xA0 + i] = res::kLatin1Entities[i];
    }
    return table;
}

constexpr std::array<EncodingTable, 4> kEncodingTables = {
    buildEncodingTable(0), buildEncodingTable(1), buildEncodingTable(2), buildEncodingTable(3)};

// Whether a byte is replaced in one mode: the scan for the next replaced
// byte reads this small table, not the texts.
using ReplacedBytes = std::array<bool, 256>;

constexpr ReplacedBytes replacedBytes(const EncodingTable& table) {
    ReplacedBytes replaced{};
    for (std::size_t c = 0; c < table.size(); ++c) replaced[c] = !table[c].empty();
    return replaced;
}

constexpr std::array<ReplacedBytes, 4> kReplacedBytes = {
    replacedBytes(kEncodingTables[0]), replacedBytes(kEncodingTables[1]),
    replacedBytes(kEncodingTables[2]), replacedBytes(kEncodingTables[3])};

// Position of the first replaced byte at or after `from`, or the size.
std::size_t nextReplaced(const ReplacedBytes& replaced, std::string_view line, std::size_t from) {
    while (from < line.size() && !replaced[static_cast<unsigned char>(line[from])]) ++from;
    return from;
}

// Room for the entities of a typical line; a line with more grows as usual.
constexpr std::size_t entityRoom(std::size_t size) {
    return size + size / 4 + 64;
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
    const ReplacedBytes& replaced = kReplacedBytes[mode];
    const std::size_t first = nextReplaced(replaced, line, 0);
    if (first == line.size()) return 0;
    // Every replacement text is made of characters no table converts, apart
    // from the "&" of an entity, which is escaped before any entity is put
    // in: one pass from left to right gives the same text as replacing "&"
    // first and then each character in turn.
    int count = 0;
    try {
        platform::rebuildInPlace(line, [&](std::string& encoded) {
            encoded.reserve(entityRoom(line.size()));
            // The bytes between two converted ones are copied as one run.
            std::size_t runStart = 0;
            for (std::size_t i = first; i < line.size(); i = nextReplaced(replaced, line, i + 1)) {
                encoded.append(line, runStart, i - runStart);
                encoded += table[static_cast<unsigned char>(line[i])];
                runStart = i + 1;
                if (line[i] != '&') ++count;
            }
            encoded.append(line, runStart);
        });
    } catch (const std::bad_alloc&) {
        return frame::kOutOfMemory;
    }
    return count;
}

}  // namespace tessel::markup
