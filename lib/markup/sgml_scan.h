// How the SGML extraction and mark-up both read a line: running text and
// the pieces of markup in it (sgml_markup_scan.h), with ">" in running text
// noted. In the running text a "/" ends an element begun with a
// NET-enabling start tag ("<tt/text/") and "]]>" ends an included marked
// section; both are tags.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include "markup/sgml_markup_scan.h"
#include "markup/sgml_markup_state.h"

namespace tessel::markup::sgml {

inline constexpr std::string_view kSectionEnd = "]]>";

// The next "<" at or after `pos`, or the next "/" or "]]>" that the markup
// before it left a meaning; npos for none.
inline std::size_t nextDelimiter(std::string_view line, std::size_t pos,
                                 const SgmlMarkupState& state) {
    const bool net = state.netElements > 0;
    const bool sections = state.includedSections > 0;
    if (!net && !sections) return line.find('<', pos);
    const char* wanted = net && sections ? "<]/" : (net ? "</" : "<]");
    for (;;) {
        std::size_t found = line.find_first_of(wanted, pos);
        if (found == std::string_view::npos || line[found] != ']') return found;
        if (line.compare(found, kSectionEnd.size(), kSectionEnd) == 0) return found;
        pos = found + 1;
    }
}

// Hands the pieces of `line` from `pos` on to `onPiece(kind, text)` in order
// (running text, possibly empty, before each piece of markup and at the
// end); a false answer stops the scan. A piece the line ends in is not
// handed on: it becomes the open text of `state`. A "<" that begins no
// markup stays in the running text and is noted in `state`. Returns true
// when the running text holds a ">" that no "<" opened.
template <typename OnPiece>
bool scanLine(std::string_view line, std::size_t pos, SgmlMarkupState& state, bool rtfEscaped,
              OnPiece&& onPiece) {
    constexpr std::size_t npos = std::string_view::npos;
    bool strayEnd = false;
    std::size_t textStart = pos;
    for (;;) {
        std::size_t found = nextDelimiter(line, pos, state);
        std::size_t textEnd = found == npos ? line.size() : found;
        strayEnd = strayEnd || std::memchr(line.data() + pos, '>', textEnd - pos) != nullptr;
        std::size_t markupFrom = npos;
        if (found != npos && line[found] == '<') {
            markupFrom = beginMarkup(line, found, state.open);
            if (markupFrom == npos) {  // "< " and the like: running text
                state.unplacedStart = true;
                pos = found + 1;
                continue;
            }
        }
        if (!onPiece(Piece::Text, line.substr(textStart, textEnd - textStart)) || found == npos) {
            return strayEnd;
        }
        std::size_t end = npos;
        if (line[found] == '/') {
            --state.netElements;
            end = found + 1;
        } else if (line[found] == ']') {
            --state.includedSections;
            end = found + kSectionEnd.size();
        }
        Piece kind = Piece::Tag;
        if (end == npos) {
            Finished done;
            end = finishMarkup(line, markupFrom, state.open, ScanOptions{state.xml, rtfEscaped},
                               done);
            if (end == npos) {
                state.carryOver.assign(line.substr(found));
                return strayEnd;
            }
            kind = done.kind;
            state.noteFinished(done, line.substr(found, end - found));
        }
        if (!onPiece(kind, line.substr(found, end - found))) return strayEnd;
        pos = textStart = end;
    }
}

}  // namespace tessel::markup::sgml
