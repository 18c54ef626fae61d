// The language dialog without a display: the list and its order, the
// preselection, the data exchange with its two messages, the check box and
// the charset text, OK and Cancel, and the fallbacks of missing locales.
#include "markup/language_dialog_model.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tessel::markup {
namespace {

using State = LanguageDialogModel::State;

std::size_t indexOf(const LanguageDialogModel& dialog, const std::string& name) {
    const auto& entries = dialog.entries();
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&](const LanguageEntry& e) { return e.name == name; });
    EXPECT_NE(it, entries.end()) << name;
    return static_cast<std::size_t>(it - entries.begin());
}

std::string selectedName(const LanguageDialogModel& dialog) {
    return dialog.selection() ? dialog.entries()[*dialog.selection()].name : "<none>";
}

// Locale information that knows only the locales in `known`.
LocaleSource onlyKnowing(std::vector<std::pair<std::uint32_t, LanguageEntry>> known) {
    auto find = [known](std::uint32_t locale) -> const LanguageEntry* {
        for (const auto& [id, entry] : known) {
            if (id == locale) return &entry;
        }
        return nullptr;
    };
    return {[find](std::uint32_t locale) -> std::optional<std::string> {
                if (auto* entry = find(locale)) return entry->name;
                return std::nullopt;
            },
            [find](std::uint32_t locale) -> std::optional<unsigned> {
                if (auto* entry = find(locale)) return entry->codePage;
                return std::nullopt;
            }};
}

TEST(LanguageDialogModel, ListsEveryLanguageSortedWithItsCodePage) {
    LanguageDialogModel dialog(std::nullopt);
    const auto& entries = dialog.entries();
    ASSERT_EQ(entries.size(), 104u);
    EXPECT_EQ(entries.front().name, "Afrikaans");
    EXPECT_EQ(entries.back().name, "Vietnamese");
    EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(),
                               [](const auto& a, const auto& b) { return a.name < b.name; }));
    EXPECT_EQ(entries[indexOf(dialog, "Greek")].codePage, 1253u);
    EXPECT_EQ(entries[indexOf(dialog, "Japanese")].codePage, 932u);
    EXPECT_EQ(entries[indexOf(dialog, "Chinese (PRC)")].codePage, 936u);
    EXPECT_EQ(dialog.selection(), std::nullopt);
    EXPECT_EQ(dialog.charsetText(), "");
    EXPECT_FALSE(dialog.charsetTextEnabled());
    EXPECT_EQ(dialog.state(), State::Open);
}

TEST(LanguageDialogModel, PresetSelectsTheLastLanguageOfItsCodePageInTableOrder) {
    // Of the many 1252 locales, 0x81D comes last in the table, though
    // "Swedish (Finland)" is not last in the sorted list.
    LanguageDialogModel western(1252);
    EXPECT_EQ(selectedName(western), "Swedish (Finland)");
    EXPECT_EQ(western.charsetText(), "iso-8859-1");
    EXPECT_FALSE(western.customCharsetChecked());
    LanguageDialogModel cyrillic(1251);
    EXPECT_EQ(selectedName(cyrillic), "Ukrainian");
    EXPECT_EQ(cyrillic.charsetText(), "Windows-1251");
    LanguageDialogModel none(437);
    EXPECT_EQ(none.selection(), std::nullopt);
    EXPECT_EQ(none.charsetText(), "");
    EXPECT_EQ(none.codePage(), 437u) << "the preset stays until an exchange accepts";
}

TEST(LanguageDialogModel, SelectionShowsTheCharsetNameAndOkReturnsIt) {
    LanguageDialogModel dialog(1252);
    Exchange chosen = dialog.selectEntry(indexOf(dialog, "Japanese"));
    EXPECT_TRUE(chosen.accepted);
    EXPECT_EQ(dialog.charsetText(), "shift_jis");
    EXPECT_TRUE(dialog.ok().accepted);
    EXPECT_EQ(dialog.state(), State::Accepted);
    EXPECT_EQ(dialog.codePage(), 932u);
    EXPECT_EQ(dialog.charsetText(), "shift_jis");
}

TEST(LanguageDialogModel, CheckBoxMakesTheCharsetTextTheUsers) {
    LanguageDialogModel dialog(std::nullopt);
    dialog.selectEntry(indexOf(dialog, "Korean"));
    dialog.editCharsetText("ignored");
    EXPECT_EQ(dialog.charsetText(), "ks_c_5601-1987") << "a disabled text takes no typing";
    EXPECT_TRUE(dialog.clickCustomCharset(true).accepted);
    EXPECT_TRUE(dialog.charsetTextEnabled());
    dialog.editCharsetText("euc-kr");
    // Another language keeps the user's text while the box is checked.
    dialog.selectEntry(indexOf(dialog, "Japanese"));
    EXPECT_EQ(dialog.charsetText(), "euc-kr");
    EXPECT_TRUE(dialog.ok().accepted);
    EXPECT_EQ(dialog.codePage(), 932u);
    EXPECT_EQ(dialog.charsetText(), "euc-kr");

    LanguageDialogModel back(1253);
    back.clickCustomCharset(true);
    back.editCharsetText("x-greek");
    EXPECT_TRUE(back.clickCustomCharset(false).accepted);
    EXPECT_FALSE(back.charsetTextEnabled());
    EXPECT_EQ(back.charsetText(), "Windows-1253") << "clearing the box brings the table name back";
}

TEST(LanguageDialogModel, ExchangeRefusesWithTheTwoMessages) {
    LanguageDialogModel dialog(std::nullopt);
    Exchange nothing = dialog.ok();
    EXPECT_FALSE(nothing.accepted);
    EXPECT_EQ(nothing.message, DialogMessage::SelectLanguage);
    EXPECT_EQ(dialogMessageText(nothing.message), "You must select a language!");
    EXPECT_EQ(dialog.state(), State::Open);
    // The check box runs the exchange too, so it asks for a language first.
    EXPECT_EQ(dialog.clickCustomCharset(true).message, DialogMessage::SelectLanguage);
    EXPECT_TRUE(dialog.charsetTextEnabled());
    Exchange empty = dialog.selectEntry(indexOf(dialog, "Greek"));
    EXPECT_EQ(empty.message, DialogMessage::SpecifyCharset);
    EXPECT_EQ(dialogMessageText(empty.message), "You must specify a Code Page string!");
    EXPECT_EQ(dialog.ok().message, DialogMessage::SpecifyCharset);
    EXPECT_EQ(dialog.state(), State::Open);
    EXPECT_EQ(dialog.selectEntry(std::nullopt).message, DialogMessage::SelectLanguage);
    EXPECT_EQ(dialog.selectEntry(999).message, DialogMessage::SelectLanguage);
    EXPECT_EQ(dialog.selection(), std::nullopt);
}

TEST(LanguageDialogModel, CancelEndsAtOnceAndOkAfterwardsDoesNothing) {
    LanguageDialogModel dialog(1251);
    dialog.selectEntry(indexOf(dialog, "Greek"));
    dialog.cancel();
    EXPECT_EQ(dialog.state(), State::Cancelled);
    EXPECT_FALSE(dialog.ok().accepted);
    EXPECT_EQ(dialog.state(), State::Cancelled);
}

TEST(LanguageDialogModel, MissingLocalesFallBackOrAreLeftOut) {
    LocaleSource nothingKnown = onlyKnowing({});
    LanguageDialogModel fallbacks(950, nothingKnown);
    std::vector<std::string> names;
    for (const auto& entry : fallbacks.entries()) names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Chinese (Hong Kong)", "Chinese (Singapore)",
                                               "Chinese, Simplified (People's Republic of China)",
                                               "Chinese, Traditional (Taiwan)", "Japanese",
                                               "Korean", "Thai", "Vietnamese"}));
    // 0x404 and 0xC04 both have 950; 0xC04 comes later in the table.
    EXPECT_EQ(selectedName(fallbacks), "Chinese (Hong Kong)");
    EXPECT_EQ(fallbacks.charsetText(), "big5");

    // Known locales take their own data; a code page without a charset name
    // is refused without a message, a locale without a code page asks for a
    // language.
    LanguageDialogModel odd(std::nullopt, onlyKnowing({{0x409, {"English", 437}},
                                                       {0x436, {"Afrikaans", 0}},
                                                       {0x411, {"Nihongo", 932}}}));
    EXPECT_EQ(odd.entries().size(), 3u + 7u) << "three known (0x411 instead of its fallback)";
    Exchange noName = odd.selectEntry(indexOf(odd, "English"));
    EXPECT_FALSE(noName.accepted);
    EXPECT_EQ(noName.message, DialogMessage::None);
    EXPECT_EQ(odd.ok().message, DialogMessage::None);
    EXPECT_EQ(odd.state(), State::Open);
    EXPECT_EQ(odd.selectEntry(indexOf(odd, "Afrikaans")).message, DialogMessage::SelectLanguage);
    EXPECT_TRUE(odd.selectEntry(indexOf(odd, "Nihongo")).accepted);
}

}  // namespace
}  // namespace tessel::markup
