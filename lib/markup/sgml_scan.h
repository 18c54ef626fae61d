// How the SGML extraction and mark-up both read a line: running text, tags
// (from "<" to the ">" that brings the nesting depth back to zero) and
// comments ("<!--" to the next "-->"), with ">" in running text noted.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include "markup/nested_tag_end.h"
#include "markup/sgml_markup_state.h"

namespace tessel::markup::sgml {

inline constexpr std::string_view kCommentStart = "<!--";
inline constexpr std::string_view kCommentEnd = "-->";

// One past the first "-->" at or after `from`, or npos. A comment's end is
// looked for from its "<".
inline std::size_t commentEnd(std::string_view line, std::size_t from) {
    std::size_t found = line.find(kCommentEnd, from);
    return found == std::string_view::npos ? found : found + kCommentEnd.size();
}

enum class Piece { Text, Comment, Tag };

// Hands the pieces of `line` from `pos` on to `onPiece(kind, text)` in order
// (running text, possibly empty, before each tag or comment and at the end);
// a false answer stops the scan. A tag or comment the line ends in is not
// handed on: it becomes the open text of `state`. Returns true when the
// running text holds a ">" that no "<" opened.
template <typename OnPiece>
bool scanLine(std::string_view line, std::size_t pos, SgmlMarkupState& state, OnPiece&& onPiece) {
    constexpr std::size_t npos = std::string_view::npos;
    bool strayEnd = false;
    for (;;) {
        std::size_t open = line.find('<', pos);
        std::size_t textEnd = open == npos ? line.size() : open;
        strayEnd = strayEnd || std::memchr(line.data() + pos, '>', textEnd - pos) != nullptr;
        if (!onPiece(Piece::Text, line.substr(pos, textEnd - pos)) || open == npos) return strayEnd;
        bool comment = line.substr(open, kCommentStart.size()) == kCommentStart;
        std::size_t depth = 0;
        std::size_t nested = 0;
        std::size_t end =
            comment ? commentEnd(line, open) : findNestedTagEnd(line, open + 1, depth, nested);
        if (end == npos) {
            state.carryOver.assign(line.substr(open));
            state.commentOpen = comment;
            state.depth = depth;
            return strayEnd;
        }
        if (!onPiece(comment ? Piece::Comment : Piece::Tag, line.substr(open, end - open))) {
            return strayEnd;
        }
        pos = end;
    }
}

}  // namespace tessel::markup::sgml
