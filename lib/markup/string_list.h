// The string list of the mark-up jobs: singly linked nodes, each owning a
// copy of its string, behind a dummy head node whose string is empty.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tessel::markup {

struct StringNode {
    std::string text;
    std::unique_ptr<StringNode> next;
};

class StringList {
  public:
    StringList() = default;
    ~StringList();
    StringList(const StringList&) = delete;
    StringList& operator=(const StringList&) = delete;

    StringNode& head() { return head_; }
    const StringNode& head() const { return head_; }
    // The first real node, or null when the list is empty.
    const StringNode* first() const { return head_.next.get(); }
    bool empty() const { return head_.next == nullptr; }

    // Sorted, duplicate-free use: inserts `text` before the first entry not
    // lower than it (byte order). Returns 1 when inserted, 0 when an equal
    // entry exists, -103 when memory runs out.
    int insertSorted(std::string_view text);
    // Sorted use: walks the list and stops at the first entry that sorts
    // higher than `text`.
    bool containsSorted(std::string_view text) const;

  private:
    StringNode head_;
};

// Allocates a node holding a copy of `text` and links it directly after
// `node`. Returns 1, or -103 when memory runs out.
int funciLLInsertAfter(StringNode& node, std::string_view text);

}  // namespace tessel::markup
