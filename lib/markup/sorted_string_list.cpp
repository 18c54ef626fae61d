#include "markup/sorted_string_list.h"

#include <iterator>
#include <new>

#include "frame/return_codes.h"

namespace tessel::markup {

int SortedStringList::insert(std::string_view text) {
    if (contains(text)) return 0;
    auto next = index_.lower_bound(text);
    StringNode& previous = next == index_.begin() ? list_.head() : *std::prev(next)->second;
    int result = funciLLInsertAfter(previous, text);
    if (result < 0) return result;
    StringNode* inserted = previous.next.get();
    auto indexed = index_.end();
    try {
        indexed = index_.emplace_hint(next, inserted->text, inserted);
        members_.insert(inserted->text);
    } catch (const std::bad_alloc&) {
        // Take the string out again: list, index and set hold the same ones.
        if (indexed != index_.end()) index_.erase(indexed);
        previous.next = std::move(inserted->next);
        return frame::kOutOfMemory;
    }
    return 1;
}

}  // namespace tessel::markup
