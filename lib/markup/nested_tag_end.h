// Where a tag ends when "<" may nest inside it: every "<" inside the tag
// raises a depth, a ">" at a depth above zero lowers it, and the ">" met at
// depth zero ends the tag. Shared by the HTML and the SGML mark-up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/byte_scan.h"

namespace tessel::markup {

// Scans a tag's text from `from` with `depth` "<" still open inside it (zero
// right after the tag's own "<"). Returns one past the ">" that ends the tag,
// or npos when the text ends first; `depth` then holds the depth reached, so
// the scan can go on in the next line. Every "<" met adds one to `nested`.
// `nextBracket(pos)` is the first "<" or ">" at or after `pos`, or a
// position at or past the end. Inline: it runs once for every tag, most of
// which end at their first ">".
template <typename NextBracket>
inline std::size_t findNestedTagEndWith(std::string_view text, std::size_t from, std::size_t& depth,
                                        std::size_t& nested, NextBracket nextBracket) {
    for (std::size_t pos = nextBracket(from); pos < text.size(); pos = nextBracket(pos + 1)) {
        if (text[pos] == '<') {
            ++depth;
            ++nested;
        } else if (depth == 0) {
            return pos + 1;
        } else {
            --depth;
        }
    }
    return std::string_view::npos;
}

// findNestedTagEndWith searching any text.
inline std::size_t findNestedTagEnd(std::string_view text, std::size_t from, std::size_t& depth,
                                    std::size_t& nested) {
    static constexpr std::uint8_t kBrackets[] = {'<', '>'};
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
    const std::size_t size = text.size();
    return findNestedTagEndWith(text, from, depth, nested, [data, size](std::size_t pos) {
        return pos < size ? pos + platform::findFirstOf(data + pos, size - pos, kBrackets, 2)
                          : size;
    });
}

}  // namespace tessel::markup
