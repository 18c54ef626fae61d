#include "markup/nested_tag_end.h"

#include <cstring>

namespace tessel::markup {

std::size_t findNestedTagEnd(std::string_view text, std::size_t from, std::size_t& depth,
                             std::size_t& nested) {
    const char* data = text.data();
    const std::size_t size = text.size();
    std::size_t pos = from;
    std::size_t close = 0;  // the next ">" at or after pos; size when none
    bool closeKnown = false;
    while (pos < size) {
        if (!closeKnown || close < pos) {
            const void* found = std::memchr(data + pos, '>', size - pos);
            close = found ? static_cast<std::size_t>(static_cast<const char*>(found) - data) : size;
            closeKnown = true;
        }
        const void* open = std::memchr(data + pos, '<', close - pos);
        if (open != nullptr) {
            ++depth;
            ++nested;
            pos = static_cast<std::size_t>(static_cast<const char*>(open) - data) + 1;
        } else if (close == size) {
            break;
        } else if (depth == 0) {
            return close + 1;
        } else {
            --depth;
            pos = close + 1;
        }
    }
    return std::string_view::npos;
}

}  // namespace tessel::markup
