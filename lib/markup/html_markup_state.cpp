#include "markup/html_markup_state.h"

namespace tessel::markup {

void HtmlMarkupState::reset() {
    block = HtmlBlock::None;
    scriptEndPending = false;
    carryOver.clear();
    carryOver.shrink_to_fit();
    pre = false;
    userTags = nullptr;
    for (std::string* buffer : {&lineBuffer, &tagSource, &tagBuffer}) {
        buffer->clear();
        buffer->shrink_to_fit();
    }
    tagMarkings.clear();
}

HtmlMarkupState& htmlMarkupState() {
    static HtmlMarkupState state;
    return state;
}

}  // namespace tessel::markup
