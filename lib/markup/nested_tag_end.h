// Where a tag ends when "<" may nest inside it: every "<" inside the tag
// raises a depth, a ">" at a depth above zero lowers it, and the ">" met at
// depth zero ends the tag. Shared by the HTML and the SGML mark-up.
#pragma once

#include <cstddef>
#include <string_view>

namespace tessel::markup {

// Scans a tag's text from `from` with `depth` "<" still open inside it (zero
// right after the tag's own "<"). Returns one past the ">" that ends the tag,
// or npos when the text ends first; `depth` then holds the depth reached, so
// the scan can go on in the next line. Every "<" met adds one to `nested`.
std::size_t findNestedTagEnd(std::string_view text, std::size_t from, std::size_t& depth,
                             std::size_t& nested);

}  // namespace tessel::markup
