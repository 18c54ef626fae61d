// The list of the language dialog: one entry per locale of the language
// list that has a name and a code page (from the locale information or the
// fallbacks), sorted by name as the dialog's sorted list keeps them, each
// with its code page as item data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tessel::markup {

struct LanguageEntry {
    std::string name;
    unsigned codePage;  // 0: the locale has none
};

// Where names and code pages of locales come from: the library's locale
// table by default; tests put in one that fails where they want.
struct LocaleSource {
    std::function<std::optional<std::string>(std::uint32_t locale)> languageName;
    std::function<std::optional<unsigned>(std::uint32_t locale)> defaultAnsiCodePage;
};
const LocaleSource& builtInLocales();

struct LanguageList {
    std::vector<LanguageEntry> entries;
    // The entry whose code page is the preset one; of several, the one
    // added last in table order.
    std::optional<std::size_t> preselected;
};

LanguageList buildLanguageList(const LocaleSource& locales, std::optional<unsigned> presetCodePage);

}  // namespace tessel::markup
