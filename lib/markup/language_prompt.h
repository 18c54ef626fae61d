// The language dialog as a numbered prompt on a terminal: the languages are
// listed with their code pages and charset names, the user types a number
// and may type a custom character set. End of input or 0 cancels.
#pragma once

#include <cstdio>

#include "markup/language_dialog_model.h"

namespace tessel::markup {

// Returns once `model` has ended (accepted or cancelled).
void promptForLanguage(LanguageDialogModel& model, std::FILE* in, std::FILE* out);

}  // namespace tessel::markup
