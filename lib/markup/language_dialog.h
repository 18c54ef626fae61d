// Running the language dialog: through the presenter the host program
// defines (declared in tessel_cat.h), else as a numbered prompt when
// standard input and standard error are terminals, else as cancelled.
#pragma once

#include <optional>
#include <string>

#include "markup/language_dialog_model.h"
#include "tessel_cat.h"

namespace tessel::markup {

struct LanguageChoice {
    unsigned codePage;
    std::string charsetName;
};

// The user's choice, or none when the dialog was cancelled.
std::optional<LanguageChoice> runLanguageDialog(std::optional<unsigned> presetCodePage);

// Presents `model` through `presenter` (the C interface of the host hook);
// false when the presenter could not show it. The model ends accepted, or
// cancelled when the presenter returned without OK.
bool presentLanguageDialog(LanguageDialogModel& model, tessel_language_dialog_presenter& presenter);

}  // namespace tessel::markup
