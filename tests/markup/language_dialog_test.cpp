// Presenting the language dialog: the host's presenter drives the model
// through the C view in tessel_cat.h, a host that cannot present
// falls back, and the terminal prompt reads numbers and charset names.
#include "markup/language_dialog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "markup/language_prompt.h"
#include "support/portable.h"

namespace {

// What the presenter hook of this test program does; unset: it cannot present.
std::function<int(tessel_language_dialog*)>& presenterScript() {
    static std::function<int(tessel_language_dialog*)> script;
    return script;
}

}  // namespace

TESSEL_TEST_HOST_HOOK int tessel_present_language_dialog(tessel_language_dialog* dialog) {
    if (!presenterScript()) return TESSEL_PRESENTER_UNAVAILABLE;
    return presenterScript()(dialog);
}

namespace tessel::markup {
namespace {

int itemIndex(const tessel_language_dialog& dialog, const std::string& name) {
    for (int i = 0; i < dialog.item_count; ++i) {
        if (name == dialog.item_names[i]) return i;
    }
    ADD_FAILURE() << name;
    return -1;
}

class ScriptedPresenter {
  public:
    explicit ScriptedPresenter(std::function<int(tessel_language_dialog*)> script) {
        presenterScript() = std::move(script);
    }
    ~ScriptedPresenter() { presenterScript() = nullptr; }
};

using NoTerminal = test::NullStandardInput;

TEST(LanguageDialogPresenter, SeesTheTemplateListAndStateAndDrivesTheModel) {
    std::vector<int> results;
    ScriptedPresenter presenter([&](tessel_language_dialog* d) {
        EXPECT_EQ(d->size, sizeof(tessel_language_dialog));
        EXPECT_STREQ(d->caption, "Select Language");
        EXPECT_STREQ(d->font_name, "MS Sans Serif");
        EXPECT_EQ(d->font_points, 8);
        EXPECT_EQ(d->width, 186);
        EXPECT_EQ(d->height, 63);
        EXPECT_EQ(d->control_count, 5);
        EXPECT_EQ(d->controls[1].id, 1004);
        EXPECT_EQ(d->controls[1].kind, TESSEL_CONTROL_AUTO_CHECK_BOX);
        EXPECT_STREQ(d->controls[1].text, "Custom Character Set:");
        EXPECT_EQ(d->controls[2].x, 111);
        EXPECT_EQ(d->controls[3].kind, TESSEL_CONTROL_DEFAULT_PUSH_BUTTON);
        EXPECT_EQ(d->item_count, 104);
        EXPECT_STREQ(d->item_names[d->selection], "Ukrainian");
        EXPECT_EQ(d->item_code_pages[d->selection], 1251u);
        EXPECT_STREQ(d->charset_text, "Windows-1251");
        EXPECT_EQ(d->charset_text_enabled, 0);
        results.push_back(d->select(d, -1));
        EXPECT_EQ(d->selection, -1);
        results.push_back(d->select(d, itemIndex(*d, "Japanese")));
        EXPECT_STREQ(d->charset_text, "shift_jis");
        results.push_back(d->click_custom_charset(d, 1));
        EXPECT_EQ(d->charset_text_enabled, 1);
        d->edit_charset_text(d, "");
        results.push_back(d->ok(d));
        d->edit_charset_text(d, "x-sjis");
        results.push_back(d->ok(d));
        return TESSEL_PRESENTER_DONE;
    });
    std::optional<LanguageChoice> choice = runLanguageDialog(1251);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->codePage, 932u);
    EXPECT_EQ(choice->charsetName, "x-sjis");
    EXPECT_EQ(results, (std::vector<int>{TESSEL_DIALOG_SELECT_LANGUAGE, TESSEL_DIALOG_ACCEPTED,
                                         TESSEL_DIALOG_ACCEPTED, TESSEL_DIALOG_SPECIFY_CHARSET,
                                         TESSEL_DIALOG_ACCEPTED}));
}

TEST(LanguageDialogPresenter, CancelOrReturningWithoutOkIsCancel) {
    {
        ScriptedPresenter cancel([](tessel_language_dialog* d) {
            d->select(d, 0);
            d->cancel(d);
            return TESSEL_PRESENTER_DONE;
        });
        EXPECT_EQ(runLanguageDialog(1252), std::nullopt);
    }
    ScriptedPresenter walkAway([](tessel_language_dialog* d) {
        d->select(d, 0);
        return TESSEL_PRESENTER_DONE;
    });
    EXPECT_EQ(runLanguageDialog(1252), std::nullopt);
}

TEST(LanguageDialogPresenter, UnavailablePresenterFallsBackToTheTerminalOrCancels) {
    LanguageDialogModel model(1252);
    auto unavailable = [](tessel_language_dialog*) { return TESSEL_PRESENTER_UNAVAILABLE; };
    EXPECT_FALSE(presentLanguageDialog(model, *+unavailable));
    EXPECT_EQ(model.state(), LanguageDialogModel::State::Open) << "the fallback takes over";
    // The hook of this program declines, and no one is at a terminal:
    // cancelled at once instead of waiting for input.
    NoTerminal noTerminal;
    EXPECT_EQ(runLanguageDialog(1252), std::nullopt);
}

// Runs the prompt on `answers`; returns what it wrote.
std::string prompt(LanguageDialogModel& model, const std::string& answers) {
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    std::fputs(answers.c_str(), in);
    std::rewind(in);
    promptForLanguage(model, in, out);
    std::rewind(out);
    std::string written;
    char chunk[4096];
    while (std::size_t n = std::fread(chunk, 1, sizeof chunk, out)) written.append(chunk, n);
    std::fclose(in);
    std::fclose(out);
    return written;
}

std::size_t numberOf(const LanguageDialogModel& model, const std::string& name) {
    for (std::size_t i = 0; i < model.entries().size(); ++i) {
        if (model.entries()[i].name == name) return i + 1;
    }
    return 0;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(LanguagePrompt, NumberedListThenCharsetNameOrCustomText) {
    LanguageDialogModel greek(1251);
    std::string greekNumber = std::to_string(numberOf(greek, "Greek"));
    std::string shown = prompt(greek, "abc\n105\n" + greekNumber + "\n\n");
    EXPECT_TRUE(contains(shown, "Select Language\n")) << shown;
    EXPECT_TRUE(contains(shown, "Greek")) << shown;
    EXPECT_TRUE(contains(shown, "  1253  Windows-1253\n")) << shown;
    std::size_t preselected = shown.rfind('\n', shown.find("Ukrainian")) + 1;
    EXPECT_EQ(shown[preselected], '*') << "the preselected language is marked";
    EXPECT_TRUE(contains(shown, "Type a number from 1 to 104, or 0 to cancel.")) << shown;
    EXPECT_TRUE(contains(shown, "Character set (Enter for Windows-1253): ")) << shown;
    EXPECT_EQ(greek.state(), LanguageDialogModel::State::Accepted);
    EXPECT_EQ(greek.codePage(), 1253u);
    EXPECT_EQ(greek.charsetText(), "Windows-1253");

    // Enter keeps the preselected language; typed text is a custom charset.
    LanguageDialogModel custom(949);
    prompt(custom, "\n euc-kr \n");
    EXPECT_EQ(custom.state(), LanguageDialogModel::State::Accepted);
    EXPECT_EQ(custom.codePage(), 949u);
    EXPECT_EQ(custom.charsetText(), "euc-kr");
}

TEST(LanguagePrompt, EnterWithoutPreselectionAsksAgainAndEndOfInputCancels) {
    LanguageDialogModel none(std::nullopt);
    std::string shown = prompt(none, "\n");
    EXPECT_TRUE(contains(shown, "Type a number from 1 to 104")) << shown;
    EXPECT_EQ(none.state(), LanguageDialogModel::State::Cancelled);
    LanguageDialogModel zero(1252);
    prompt(zero, "0\n");
    EXPECT_EQ(zero.state(), LanguageDialogModel::State::Cancelled);
    LanguageDialogModel atCharset(1252);
    prompt(atCharset, "1\n");
    EXPECT_EQ(atCharset.state(), LanguageDialogModel::State::Cancelled);
}

}  // namespace
}  // namespace tessel::markup
