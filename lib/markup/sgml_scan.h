// What the SGML extraction and mark-up both look for in a line: comments
// ("<!--" to the next "-->") and ">" that no "<" opened.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace tessel::markup::sgml {

inline constexpr std::string_view kCommentStart = "<!--";
inline constexpr std::string_view kCommentEnd = "-->";

inline bool commentStartsAt(std::string_view line, std::size_t pos) {
    return line.substr(pos, kCommentStart.size()) == kCommentStart;
}

// One past the first "-->" at or after `from`, or npos.
inline std::size_t commentEnd(std::string_view line, std::size_t from) {
    std::size_t found = line.find(kCommentEnd, from);
    return found == std::string_view::npos ? found : found + kCommentEnd.size();
}

// True when [from, to) holds a ">": text between tags has none.
inline bool holdsStrayEnd(std::string_view line, std::size_t from, std::size_t to) {
    if (to > line.size()) to = line.size();
    return from < to && std::memchr(line.data() + from, '>', to - from) != nullptr;
}

}  // namespace tessel::markup::sgml
