// The language dialog without any display: the list of languages with their
// code pages, the selection, the "Custom Character Set" check box and the
// charset text it enables, the data exchange that runs on every change and
// on OK, and the end of the dialog. A presenter (the host's window, the
// terminal prompt) shows the state and passes the user's actions in; each
// action answers with the message to show, if any.
//
// Usage:
//   LanguageDialogModel dialog(1251);          // preselects a 1251 language
//   dialog.selectEntry(index);                 // shows its charset name
//   dialog.clickCustomCharset(true);           // the text becomes editable
//   dialog.editCharsetText("koi8-u");
//   if (dialog.ok().accepted) use(dialog.codePage(), dialog.charsetText());
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "markup/language_list.h"

namespace tessel::markup {

enum class DialogMessage {
    None,
    SelectLanguage,  // "You must select a language!" (information icon)
    SpecifyCharset,  // "You must specify a Code Page string!"
};

// The outcome of a data exchange: accepted, or refused with the message to
// show (None: refused silently, the entry's code page has no charset name).
struct Exchange {
    bool accepted;
    DialogMessage message;
};

std::string_view dialogMessageText(DialogMessage message);

class LanguageDialogModel {
  public:
    enum class State { Open, Accepted, Cancelled };

    // `presetCodePage` preselects the language whose code page it is (the
    // last one in table order); none preselects nothing.
    explicit LanguageDialogModel(std::optional<unsigned> presetCodePage,
                                 const LocaleSource& locales = builtInLocales());

    const std::vector<LanguageEntry>& entries() const { return entries_; }
    std::optional<std::size_t> selection() const { return selection_; }
    bool customCharsetChecked() const { return customCharset_; }
    bool charsetTextEnabled() const { return customCharset_; }
    const std::string& charsetText() const { return charsetText_; }
    State state() const { return state_; }
    // The preset code page until an exchange accepts; then the selected
    // entry's code page (the result after OK).
    unsigned codePage() const { return codePage_; }

    // A change of the list selection (none, or an index out of range:
    // nothing selected); runs the exchange.
    Exchange selectEntry(std::optional<std::size_t> index);
    // A click that leaves the check box in state `checked`: enables or
    // disables the charset text, then runs the exchange.
    Exchange clickCustomCharset(bool checked);
    // Typing in the charset text; ignored while the text is disabled.
    void editCharsetText(std::string_view text);
    // Runs the exchange; when it accepts, the dialog ends with OK.
    Exchange ok();
    // Ends the dialog at once.
    void cancel();

  private:
    Exchange exchange();

    std::vector<LanguageEntry> entries_;
    std::optional<std::size_t> selection_;
    bool customCharset_ = false;
    std::string charsetText_;
    unsigned codePage_;
    State state_ = State::Open;
};

}  // namespace tessel::markup
