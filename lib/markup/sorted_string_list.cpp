#include "markup/sorted_string_list.h"

#include <iterator>
#include <new>

#include "frame/return_codes.h"

namespace tessel::markup {

int SortedStringList::insert(std::string_view text) {
    auto next = index_.lower_bound(text);
    if (next != index_.end() && next->first == text) return 0;
    StringNode& previous = next == index_.begin() ? list_.head() : *std::prev(next)->second;
    int result = funciLLInsertAfter(previous, text);
    if (result < 0) return result;
    StringNode* inserted = previous.next.get();
    try {
        index_.emplace_hint(next, inserted->text, inserted);
    } catch (const std::bad_alloc&) {
        // Unlink the node again: list and index must hold the same strings.
        previous.next = std::move(inserted->next);
        return frame::kOutOfMemory;
    }
    return 1;
}

}  // namespace tessel::markup
