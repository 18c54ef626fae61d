#include "markup/sgml_markup_state.h"

#include "markup/nested_tag_end.h"
#include "markup/sgml_scan.h"

namespace tessel::markup {

std::size_t SgmlMarkupState::continueOpenText(std::string_view line) {
    std::size_t nested = 0;
    std::size_t end =
        commentOpen ? sgml::commentEnd(line, 0) : findNestedTagEnd(line, 0, depth, nested);
    if (end == std::string_view::npos) {
        carryOver += line;
    } else {
        carryOver.append(line.substr(0, end));
    }
    return end;
}

void SgmlMarkupState::closeOpenText() {
    carryOver.clear();
    depth = 0;
    commentOpen = false;
}

void SgmlMarkupState::startFile() {
    closeOpenText();
}

void SgmlMarkupState::reset() {
    startFile();
    carryOver.shrink_to_fit();
    externalTags = nullptr;
    lineBuffer.clear();
    lineBuffer.shrink_to_fit();
}

SgmlMarkupState& sgmlMarkupState() {
    static SgmlMarkupState state;
    return state;
}

}  // namespace tessel::markup
