#include "verify/styled_paragraph.h"

#include <algorithm>

namespace tessel::verify {

bool isProtected(RunRole role) {
    return role != RunRole::Text;
}

std::string_view roleName(RunRole role) {
    switch (role) {
        case RunRole::External:
            return "external";
        case RunRole::Internal:
            return "internal";
        case RunRole::DoNotTranslate:
            return "do-not-translate";
        case RunRole::Text:
            break;
    }
    return "text";
}

namespace {

// Characters that start in [from, to) of `text`.
std::size_t charactersIn(std::string_view text, std::size_t from, std::size_t to) {
    std::size_t count = 0;
    for (std::size_t i = from; i < to; ++i) {
        // Continuation bytes do not start a character.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++count;
    }
    return count;
}

}  // namespace

std::size_t columnOf(std::string_view text, std::size_t offset) {
    return 1 + charactersIn(text, 0, std::min(offset, text.size()));
}

std::size_t ColumnCounter::columnOf(std::string_view text, std::size_t offset) {
    const std::size_t end = std::min(offset, text.size());
    if (text.data() != text_ || text.size() != size_ || end < offset_) {
        text_ = text.data();
        size_ = text.size();
        offset_ = 0;
        column_ = 1;
    }
    column_ += charactersIn(text, offset_, end);
    offset_ = end;
    return column_;
}

}  // namespace tessel::verify
