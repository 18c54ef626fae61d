// The language dialog exports: the code page (and charset name) a user
// chooses from the list of languages.
#include <optional>
#include <string>

#include "exports/export_guard.h"
#include "markup/language_dialog.h"
#include "tessel_cat.h"

namespace {

// The charset text of the last dialog ended with OK; valid until the next one.
std::string& chosenCharset() {
    static std::string charset;
    return charset;
}

}  // namespace

extern "C" {

unsigned TESSEL_CALL gf_uiGetCodepageFromLanguageDialog(void) {
    unsigned chosen = 0;
    int result = tessel::exports::runExport([&]() -> int {
        if (auto choice = tessel::markup::runLanguageDialog(std::nullopt)) {
            chosen = choice->codePage;
        }
        return 0;
    });
    return result == 0 ? chosen : 0;
}

const char* TESSEL_CALL gf_pszGetCodepageFromLanguageDialog(unsigned* codePage) {
    // Without a place for the code page the choice could not be returned.
    if (codePage == nullptr) return nullptr;
    unsigned chosen = 0;
    const char* charset = nullptr;
    int result = tessel::exports::runExport([&]() -> int {
        if (auto choice = tessel::markup::runLanguageDialog(*codePage)) {
            chosenCharset() = std::move(choice->charsetName);
            chosen = choice->codePage;
            charset = chosenCharset().c_str();
        }
        return 0;
    });
    if (result != 0 || charset == nullptr) {
        *codePage = 0;
        return nullptr;
    }
    *codePage = chosen;
    return charset;
}

}  // extern "C"
