#include "markup/string_list.h"

#include <new>

#include "frame/return_codes.h"

namespace tessel::markup {

StringList::~StringList() {
    // Unlink node by node: destroying a long chain through the nodes' own
    // destructors would recurse once per node.
    std::unique_ptr<StringNode> node = std::move(head_.next);
    while (node) node = std::move(node->next);
}

int funciLLInsertAfter(StringNode& node, std::string_view text) {
    try {
        auto inserted = std::make_unique<StringNode>();
        inserted->text.assign(text);
        inserted->next = std::move(node.next);
        node.next = std::move(inserted);
        return 1;
    } catch (const std::bad_alloc&) {
        return frame::kOutOfMemory;
    }
}

int StringList::insertSorted(std::string_view text) {
    StringNode* previous = &head_;
    while (previous->next && std::string_view(previous->next->text) < text) {
        previous = previous->next.get();
    }
    if (previous->next && previous->next->text == text) return 0;
    return funciLLInsertAfter(*previous, text);
}

bool StringList::containsSorted(std::string_view text) const {
    for (const StringNode* node = first(); node != nullptr; node = node->next.get()) {
        std::string_view entry = node->text;
        if (entry == text) return true;
        if (entry > text) return false;
    }
    return false;
}

}  // namespace tessel::markup
