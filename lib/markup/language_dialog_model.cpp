#include "markup/language_dialog_model.h"

#include "markup/code_page_charset.h"
#include "resources/language_dialog_template.h"

namespace tessel::markup {

std::string_view dialogMessageText(DialogMessage message) {
    switch (message) {
        case DialogMessage::SelectLanguage:
            return resources::kSelectLanguageMessage;
        case DialogMessage::SpecifyCharset:
            return resources::kSpecifyCharsetMessage;
        case DialogMessage::None:
            break;
    }
    return {};
}

LanguageDialogModel::LanguageDialogModel(std::optional<unsigned> presetCodePage,
                                         const LocaleSource& locales)
    : codePage_(presetCodePage.value_or(0)) {
    LanguageList list = buildLanguageList(locales, presetCodePage);
    entries_ = std::move(list.entries);
    selection_ = list.preselected;
    // The charset text shows the preselected language's name at once.
    if (selection_) exchange();
}

Exchange LanguageDialogModel::exchange() {
    if (!selection_ || entries_[*selection_].codePage == 0) {
        return {false, DialogMessage::SelectLanguage};
    }
    unsigned codePage = entries_[*selection_].codePage;
    if (customCharset_) {
        if (charsetText_.empty()) return {false, DialogMessage::SpecifyCharset};
    } else {
        std::string name;
        if (!charsetNameForCodePage(codePage, name)) return {false, DialogMessage::None};
        charsetText_ = std::move(name);
    }
    codePage_ = codePage;
    return {true, DialogMessage::None};
}

Exchange LanguageDialogModel::selectEntry(std::optional<std::size_t> index) {
    selection_ = index && *index < entries_.size() ? index : std::nullopt;
    return exchange();
}

Exchange LanguageDialogModel::clickCustomCharset(bool checked) {
    customCharset_ = checked;
    return exchange();
}

void LanguageDialogModel::editCharsetText(std::string_view text) {
    if (charsetTextEnabled()) charsetText_ = text;
}

Exchange LanguageDialogModel::ok() {
    if (state_ != State::Open) return {false, DialogMessage::None};
    Exchange result = exchange();
    if (result.accepted) state_ = State::Accepted;
    return result;
}

void LanguageDialogModel::cancel() {
    if (state_ == State::Open) state_ = State::Cancelled;
}

}  // namespace tessel::markup
