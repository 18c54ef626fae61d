#include "verify/styled_paragraph.h"

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

std::size_t columnOf(std::string_view text, std::size_t offset) {
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        // Continuation bytes do not start a character.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++column;
    }
    return column;
}

}  // namespace tessel::verify
