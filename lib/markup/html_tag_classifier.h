// Classifying one HTML tag: trying a tag entry (name, class, attribute)
// against the tag at hand and wrapping it in the group of its class, and the
// lookups in the user's entries and in the built-in table.
#pragma once

#include <cstddef>
#include <string_view>

#include "markup/marked_line.h"

namespace tessel::markup {

struct UserTagList;

// Where the tag stands in the line: "<" at `start`, the name at `namePos`,
// one past ">" at `end`; `closing` for "</...>". `switchedPre` is set when
// wrapping the tag set the PRE flag of the mark-up.
struct TagSpan {
    std::size_t start;
    std::size_t namePos;
    std::size_t end;
    bool closing;
    bool switchedPre = false;
};

// Tries one entry. Returns 1 when it wrapped the tag (`tag.start` is then
// just past the wrapped text), 0 when the entry does not fit, -2207 when the
// tag's name sorts before the entry's name, -2204 for a translatable value
// without its closing quote (the tag stays unwrapped) or -2201 for class
// letters without meaning.
int funcClassifyHTMLTag(MarkedLine& line, TagSpan& tag, std::string_view name,
                        std::string_view tagClass, std::string_view attribute);

// Tries the user's entries in list order: the first that fits decides.
// Returns 1, 0 when none fits, or a negative code of funcClassifyHTMLTag.
int classifyByUserTags(MarkedLine& line, TagSpan& tag, const UserTagList& tags);

// Tries the built-in table from its first entry and stops at the first entry
// the tag's name sorts before. Returns 1, 0 when none fits, or -2204.
int classifyByBuiltInTable(MarkedLine& line, TagSpan& tag);

}  // namespace tessel::markup
