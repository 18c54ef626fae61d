// Decoding one HTML character entity: the lookup of named entities and the
// value of numeric references. Inline, for the loops that meet an entity
// every few words: the in-place decoding and the one-pass decoding and
// wrapping of the mark-up.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "resources/html_entity_tables.h"

namespace tessel::markup::entity_decoding {

namespace res = tessel::resources;

// Largest distance from "&" to the ";" that ends an entity.
inline constexpr std::size_t kMaxEntitySpan = 15;

enum class NumericPolicy { All, SafeForMarkup };

// Every entity of the table is at most eight bytes long, "&" and ";"
// included, so the name between them is compared with an entry's as one
// word. The entries are grouped by length and the low bits of the name's
// first byte; a group holds one or two.
inline constexpr std::size_t kLongestEntity = 8;
inline constexpr std::size_t kFirstByteGroups = 64;
inline constexpr std::size_t kEntityBuckets = (kLongestEntity + 1) * kFirstByteGroups;

constexpr std::size_t entityBucket(std::string_view text) {
    return text.size() * kFirstByteGroups +
           (static_cast<unsigned char>(text[1]) & (kFirstByteGroups - 1));
}

// The name of "&name;", its first byte in the lowest byte of the word.
constexpr std::uint64_t packedName(std::string_view text) {
    std::uint64_t word = 0;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        word |= std::uint64_t{static_cast<unsigned char>(text[i])} << (8 * (i - 1));
    }
    return word;
}

struct NamedEntityIndex {
    // Bucket b holds the entries [begin[b], begin[b + 1]) of `words` and
    // `characters`.
    std::array<std::uint64_t, res::kEntityDecodingTable.size()> words{};
    std::array<char, res::kEntityDecodingTable.size()> characters{};
    std::array<unsigned char, kEntityBuckets + 1> begin{};
    constexpr NamedEntityIndex() {
        std::size_t filled = 0;
        for (std::size_t bucket = 0; bucket < kEntityBuckets; ++bucket) {
            begin[bucket] = static_cast<unsigned char>(filled);
            for (const auto& row : res::kEntityDecodingTable) {
                if (entityBucket(row.entity) != bucket) continue;
                words[filled] = packedName(row.entity);
                characters[filled++] = row.character;
            }
        }
        begin[kEntityBuckets] = static_cast<unsigned char>(filled);
    }
};

constexpr bool entitiesFitTheIndex() {
    for (const auto& row : res::kEntityDecodingTable) {
        if (row.entity.size() < 3 || row.entity.size() > kLongestEntity) return false;
    }
    return true;
}
static_assert(entitiesFitTheIndex(), "every entity is packed into one word");

inline constexpr NamedEntityIndex kNamedEntityIndex{};

// The name of "&name;", `nameSize` bytes from `name`, packed as packedName
// does. Where eight bytes can be read from `name` (`readable`), one load
// takes them and the bytes past the name are masked off.
inline std::uint64_t nameWord(const char* name, std::size_t nameSize, std::size_t readable) {
    if constexpr (std::endian::native == std::endian::little) {
        if (readable >= sizeof(std::uint64_t)) {
            std::uint64_t word;
            std::memcpy(&word, name, sizeof word);
            return nameSize == 0 ? 0 : word & (~std::uint64_t{0} >> (64 - 8 * nameSize));
        }
    }
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < nameSize; ++i) {
        word |= std::uint64_t{static_cast<unsigned char>(name[i])} << (8 * i);
    }
    return word;
}

// `text` runs from "&" to ";"; `readable` bytes follow the "&" in the line.
inline std::optional<char> lookUpNamedEntity(std::string_view text, std::size_t readable) {
    if (text.size() > kLongestEntity) return std::nullopt;
    const std::uint64_t word = nameWord(text.data() + 1, text.size() - 2, readable);
    const std::size_t bucket = entityBucket(text);
    for (std::size_t k = kNamedEntityIndex.begin[bucket]; k < kNamedEntityIndex.begin[bucket + 1];
         ++k) {
        if (kNamedEntityIndex.words[k] == word) return kNamedEntityIndex.characters[k];
    }
    return std::nullopt;
}

inline int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The value of "&#digits;" or "&#xhex;" when it is 1 to 255; references with
// other characters, no digits, or values outside that range give nothing, so
// they stay in the text instead of turning into a lost or wrong byte.
inline std::optional<unsigned char> numericReferenceValue(std::string_view text) {
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
inline bool unsafeInMarkup(unsigned char c) {
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

inline std::optional<char> decodeEntity(std::string_view text, std::size_t readable,
                                        NumericPolicy policy) {
    if (text.size() >= 3 && text[1] == '#') {
        auto value = numericReferenceValue(text);
        if (!value) return std::nullopt;
        if (policy == NumericPolicy::SafeForMarkup && unsafeInMarkup(*value)) return std::nullopt;
        return static_cast<char>(*value);
    }
    return lookUpNamedEntity(text, readable);
}

}  // namespace tessel::markup::entity_decoding
