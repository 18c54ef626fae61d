#include "markup/nested_tag_end.h"

#include <cstdint>

#include "platform/byte_scan.h"

namespace tessel::markup {

std::size_t findNestedTagEnd(std::string_view text, std::size_t from, std::size_t& depth,
                             std::size_t& nested) {
    static constexpr std::uint8_t kBrackets[] = {'<', '>'};
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
    const std::size_t size = text.size();
    for (std::size_t pos = from; pos < size; ++pos) {
        pos += platform::findFirstOf(data + pos, size - pos, kBrackets, 2);
        if (pos == size) break;
        if (data[pos] == '<') {
            ++depth;
            ++nested;
        } else if (depth == 0) {
            return pos + 1;
        } else {
            --depth;
        }
    }
    return std::string_view::npos;
}

}  // namespace tessel::markup
