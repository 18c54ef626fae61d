#include "markup/language_list.h"

#include <algorithm>

#include "platform/locale_info.h"
#include "platform/resources.h"
#include "resources/language_list.h"

namespace tessel::markup {

namespace {

struct Added {
    LanguageEntry entry;
    std::size_t tableIndex;
};

// The fallback of a locale whose information is missing, if it has one.
std::optional<LanguageEntry> fallbackFor(std::uint32_t locale) {
    for (const auto& fallback : resources::languageFallbacks()) {
        if (fallback.locale != locale) continue;
        std::optional<std::string_view> name = platform::loadString(fallback.nameStringId);
        if (!name) return std::nullopt;
        return LanguageEntry{std::string(*name), fallback.codePage};
    }
    return std::nullopt;
}

std::optional<LanguageEntry> entryFor(const LocaleSource& locales, std::uint32_t locale) {
    std::optional<std::string> name = locales.languageName(locale);
    std::optional<unsigned> codePage = locales.defaultAnsiCodePage(locale);
    if (name && codePage) return LanguageEntry{std::move(*name), *codePage};
    return fallbackFor(locale);
}

char lowered(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The order of a sorted list: names compared without regard to case.
bool sortsBefore(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return lowered(x) < lowered(y); });
}

}  // namespace

const LocaleSource& builtInLocales() {
    static const LocaleSource source{
        [](std::uint32_t locale) -> std::optional<std::string> {
            auto name = platform::localeLanguageName(locale);
            if (!name) return std::nullopt;
            return std::string(*name);
        },
        [](std::uint32_t locale) { return platform::localeDefaultAnsiCodePage(locale); }};
    return source;
}

LanguageList buildLanguageList(const LocaleSource& locales,
                               std::optional<unsigned> presetCodePage) {
    std::vector<Added> added;
    std::optional<std::size_t> presetTableIndex;
    auto table = resources::languageListLocales();
    for (std::size_t i = 0; i < table.size(); ++i) {
        std::optional<LanguageEntry> entry = entryFor(locales, table[i]);
        if (!entry) continue;
        if (presetCodePage && entry->codePage == *presetCodePage) presetTableIndex = i;
        added.push_back({std::move(*entry), i});
    }
    std::stable_sort(added.begin(), added.end(), [](const Added& a, const Added& b) {
        return sortsBefore(a.entry.name, b.entry.name);
    });
    LanguageList list;
    for (std::size_t i = 0; i < added.size(); ++i) {
        if (presetTableIndex && added[i].tableIndex == *presetTableIndex) list.preselected = i;
        list.entries.push_back(std::move(added[i].entry));
    }
    return list;
}

}  // namespace tessel::markup
