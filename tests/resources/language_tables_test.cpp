// The tables behind the language dialog and the charset step: the language
// list, our locale data, the fallbacks, the charset names and the META line.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "markup/code_page_charset.h"
#include "platform/locale_info.h"
#include "platform/resources.h"
#include "resources/code_page_names.h"
#include "resources/language_list.h"
#include "resources/locale_table.h"

namespace tessel::resources {
namespace {

TEST(LanguageTables, EveryListedLocaleHasDataAndACharsetName) {
    auto locales = languageListLocales();
    ASSERT_EQ(locales.size(), 104u);
    EXPECT_EQ(locales.front(), 0x436u);
    EXPECT_EQ(locales[31], 0x409u);
    EXPECT_EQ(locales.back(), 0x42Au);
    EXPECT_EQ(std::set<std::uint32_t>(locales.begin(), locales.end()).size(), 104u);
    auto table = localeTable();
    EXPECT_TRUE(std::is_sorted(table.begin(), table.end(),
                               [](const auto& a, const auto& b) { return a.id < b.id; }));
    for (std::uint32_t locale : locales) {
        auto name = platform::localeLanguageName(locale);
        auto codePage = platform::localeDefaultAnsiCodePage(locale);
        ASSERT_TRUE(name && codePage) << std::hex << locale;
        EXPECT_LE(name->size(), 50u);
        std::string charset;
        EXPECT_TRUE(markup::charsetNameForCodePage(*codePage, charset)) << *name;
    }
    EXPECT_EQ(platform::localeLanguageName(0x419), "Russian");
    EXPECT_EQ(platform::localeDefaultAnsiCodePage(0x419), 1251u);
    EXPECT_EQ(platform::localeDefaultAnsiCodePage(0x408), 1253u);
    EXPECT_EQ(platform::localeDefaultAnsiCodePage(0x415), 1250u);
    EXPECT_EQ(platform::localeDefaultAnsiCodePage(0x41E), 874u);
    EXPECT_EQ(platform::localeLanguageName(0x9999), std::nullopt);
}

TEST(LanguageTables, FallbacksNameEightEastAsianLocales) {
    auto fallbacks = languageFallbacks();
    ASSERT_EQ(fallbacks.size(), 8u);
    auto locales = languageListLocales();
    for (const auto& fallback : fallbacks) {
        EXPECT_NE(std::find(locales.begin(), locales.end(), fallback.locale), locales.end());
        EXPECT_TRUE(platform::loadString(fallback.nameStringId).has_value());
        EXPECT_EQ(platform::localeDefaultAnsiCodePage(fallback.locale), fallback.codePage)
            << "our locale data and the fallback agree";
    }
    EXPECT_EQ(platform::loadString(501), "Chinese, Simplified (People's Republic of China)");
    EXPECT_EQ(platform::loadString(506), std::nullopt);
}

TEST(LanguageTables, CodePagesToCharsetNames) {
    auto names = codePageNames();
    ASSERT_EQ(names.size(), 29u);
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(names[i].stringId, 900 + i);
        if (i > 0) {
            EXPECT_LT(names[i - 1].codePage, names[i].codePage);
        }
    }
    std::string name = "stale";
    const std::pair<unsigned, const char*> expected[] = {
        {720, "dos-720"},       {1252, "iso-8859-1"},         {1251, "Windows-1251"},
        {932, "shift_jis"},     {949, "ks_c_5601-1987"},      {20866, "koi8-r"},
        {50225, "ISO-2022-KR"}, {65000, "UNICODE-1-1-UTF-7"}, {65001, "UTF-8"}};
    for (const auto& [codePage, charset] : expected) {
        EXPECT_TRUE(markup::charsetNameForCodePage(codePage, name));
        EXPECT_EQ(name, charset);
        EXPECT_TRUE(markup::isUsableCharsetName(name)) << name;
    }
    for (unsigned none : {0u, 437u, 1249u, 1259u, 65002u}) {
        EXPECT_FALSE(markup::charsetNameForCodePage(none, name)) << none;
        EXPECT_EQ(name, "");
    }
    EXPECT_EQ(markup::metaCharsetLine("koi8-r"),
              "\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; CHARSET=koi8-r\">");
}

TEST(LanguageTables, UsableCharsetNames) {
    for (const char* good : {"euc-kr", "x-mac_cyrillic", "ISO_8859-1:1987", "utf-7+", "a.b"}) {
        EXPECT_TRUE(markup::isUsableCharsetName(good)) << good;
    }
    for (const char* bad :
         {"", "a b", "a\"b", "a>b", "a<b", "a=b", "a/b", "a'b", "a\nb", "a\rb", "\xE9"}) {
        EXPECT_FALSE(markup::isUsableCharsetName(bad)) << bad;
    }
}

}  // namespace
}  // namespace tessel::resources
