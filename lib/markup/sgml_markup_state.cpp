#include "markup/sgml_markup_state.h"

namespace tessel::markup {

void SgmlMarkupState::startFile() {
    carryOver.clear();
    depth = 0;
    commentOpen = false;
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
