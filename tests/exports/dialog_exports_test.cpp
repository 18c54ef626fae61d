// The language dialog exports as a host program calls them: with its own
// presenter, with none and no terminal, and with bad arguments.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/portable.h"
#include "tessel_cat.h"

namespace {

// The language the test's presenter picks and OKs; empty: it cancels;
// "-": it cannot present.
std::string& pick() {
    static std::string name;
    return name;
}
std::string& preselectedSeen() {
    static std::string name;
    return name;
}

}  // namespace

TESSEL_TEST_HOST_HOOK int tessel_present_language_dialog(tessel_language_dialog* dialog) {
    if (pick() == "-") return TESSEL_PRESENTER_UNAVAILABLE;
    preselectedSeen() = dialog->selection < 0 ? "" : dialog->item_names[dialog->selection];
    if (pick().empty()) {
        dialog->cancel(dialog);
        return TESSEL_PRESENTER_DONE;
    }
    for (int i = 0; i < dialog->item_count; ++i) {
        if (pick() == dialog->item_names[i]) dialog->select(dialog, i);
    }
    dialog->ok(dialog);
    return TESSEL_PRESENTER_DONE;
}

namespace {

TEST(DialogExports, PresenterChoosesALanguage) {
    pick() = "Greek";
    EXPECT_EQ(gf_uiGetCodepageFromLanguageDialog(), 1253u);
    EXPECT_EQ(preselectedSeen(), "") << "nothing preselected";

    pick() = "Russian";
    unsigned codePage = 1250;
    const char* charset = gf_pszGetCodepageFromLanguageDialog(&codePage);
    EXPECT_EQ(preselectedSeen(), "Slovenian");
    ASSERT_NE(charset, nullptr);
    EXPECT_STREQ(charset, "Windows-1251");
    EXPECT_EQ(codePage, 1251u);

    // The string stays valid across a cancelled call.
    pick() = "";
    unsigned cancelled = 1252;
    EXPECT_EQ(gf_pszGetCodepageFromLanguageDialog(&cancelled), nullptr);
    EXPECT_EQ(cancelled, 0u);
    EXPECT_EQ(preselectedSeen(), "Swedish (Finland)");
    EXPECT_STREQ(charset, "Windows-1251");
    EXPECT_EQ(gf_uiGetCodepageFromLanguageDialog(), 0u);
    EXPECT_EQ(gf_pszGetCodepageFromLanguageDialog(nullptr), nullptr);
}

TEST(DialogExports, WithoutPresenterOrTerminalTheDialogIsCancelled) {
    pick() = "-";
    unsigned codePage = 1251;
    const char* charset = nullptr;
    unsigned plain = 0;
    {
        tessel::test::NullStandardInput noTerminal;
        charset = gf_pszGetCodepageFromLanguageDialog(&codePage);
        plain = gf_uiGetCodepageFromLanguageDialog();
    }
    EXPECT_EQ(charset, nullptr);
    EXPECT_EQ(codePage, 0u);
    EXPECT_EQ(plain, 0u);
}

}  // namespace
