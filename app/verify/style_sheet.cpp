#include "verify/style_sheet.h"

#include "frame/rtf_style_sheet.h"

namespace tessel::verify {

namespace {

RunRole roleOf(frame::TagStyle style) {
    switch (style) {
        case frame::TagStyle::External:
            return RunRole::External;
        case frame::TagStyle::Internal:
            return RunRole::Internal;
        case frame::TagStyle::DoNotTranslate:
            return RunRole::DoNotTranslate;
        case frame::TagStyle::None:
            break;
    }
    return RunRole::Text;
}

}  // namespace

RunRole roleOfStyleName(std::string_view name) {
    return roleOf(frame::tagStyleOfName(name));
}

RunRole StyleSheet::role(std::int32_t number) const {
    auto found = roles_.find(number);
    return found == roles_.end() ? RunRole::Text : found->second;
}

void StyleSheet::define(std::int32_t number, std::string_view name) {
    RunRole role = roleOfStyleName(name);
    if (role == RunRole::Text) {
        roles_.erase(number);
    } else {
        roles_[number] = role;
    }
}

StyleSheet readStyleSheet(frame::RtfByteSource& source) {
    StyleSheet sheet;
    frame::readCharacterStyleNames(source, [&sheet](std::int32_t number, std::string_view name) {
        sheet.define(number, name);
    });
    return sheet;
}

}  // namespace tessel::verify
