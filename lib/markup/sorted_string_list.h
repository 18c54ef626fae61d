// The sorted, duplicate-free string list of the SGML tag collection: a
// StringList whose walk gives the strings in ascending byte order (the order
// the tag file is written in), with an ordered index over the same nodes.
// The list alone finds an insertion point by walking from its head, so
// collecting n distinct tags would cost n * n / 2 comparisons; the index finds
// it in log n. A hash set over the same strings answers "is it listed" (the
// mark-up's question for every tag, and collection's for every repeated tag)
// without comparing strings along a path.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string_view>
#include <unordered_set>

#include "markup/string_list.h"

namespace tessel::markup {

class SortedStringList {
  public:
    SortedStringList() = default;
    SortedStringList(const SortedStringList&) = delete;
    SortedStringList& operator=(const SortedStringList&) = delete;

    // Inserts `text` before the first entry not lower than it. Returns 1 when
    // inserted, 0 when an equal entry exists, -103 when memory runs out.
    int insert(std::string_view text);
    bool contains(std::string_view text) const { return members_.count(text) != 0; }

    // The first node of the walk, or null when the list is empty.
    const StringNode* first() const { return list_.first(); }
    bool empty() const { return list_.empty(); }
    std::size_t size() const { return index_.size(); }

  private:
    StringList list_;
    // Keys view the nodes' own strings, which never move: a node is allocated
    // once and only relinked.
    std::map<std::string_view, StringNode*, std::less<>> index_;
    std::unordered_set<std::string_view> members_;
};

}  // namespace tessel::markup
