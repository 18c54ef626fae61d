// The check entries of the desktop's format menus as the core runs them: the
// rows against the menus of the commands, pairing of chosen files, and a
// verify and a round trip through a recording shell with their exact report.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "core/batch_session.h"
#include "core/check_table.h"
#include "core/translation_checks.h"
#include "fake_batch.h"

namespace tessel::app {
namespace {

using testing::FakeShell;
using testing::ScratchFolder;
using testing::writeFile;

std::string menuOf(std::string_view menuPath) {
    return std::string(menuPath.substr(0, menuPath.rfind('/')));
}

const CheckCommand& checkAt(std::string_view menuPath) {
    for (const CheckCommand& check : checkTable()) {
        if (check.menuPath == menuPath) return check;
    }
    throw std::runtime_error("no check at " + std::string(menuPath));
}

TEST(CheckTable, EachFormatMenuHasBothChecksInTheGroupOfItsRtfToTextCommand) {
    // The menus of the conversion commands and the group their RTF -> Text
    // command clears the log for.
    std::map<std::string, std::optional<FormatGroup>> backGroups;
    std::set<std::string_view> commandPaths;
    for (const Command& command : commandTable()) {
        if (command.menuPath.empty()) continue;
        commandPaths.insert(command.menuPath);
        if (command.family == "back") backGroups[menuOf(command.menuPath)] = command.group;
    }
    std::map<std::string, std::set<CheckKind>> kindsByMenu;
    for (const CheckCommand& check : checkTable()) {
        std::string menu = menuOf(check.menuPath);
        ASSERT_TRUE(backGroups.count(menu)) << check.menuPath << " is in no format menu";
        EXPECT_EQ(check.group, backGroups[menu]) << check.menuPath;
        EXPECT_FALSE(commandPaths.count(check.menuPath)) << check.menuPath;
        EXPECT_TRUE(kindsByMenu[menu].insert(check.kind).second) << "two alike in " << menu;
        EXPECT_FALSE(check.statusTip.empty()) << check.menuPath;
        EXPECT_FALSE(check.heading.empty()) << check.menuPath;
        EXPECT_EQ(check.kind == CheckKind::Verify, !check.translationChoiceTitle.empty())
            << check.menuPath;
        // Every back-conversion the verify rows name is one the check knows.
        if (check.kind == CheckKind::Verify) {
            EXPECT_TRUE(checkAvailable(check)) << check.format;
        }
    }
    EXPECT_EQ(kindsByMenu.size(), backGroups.size());
    for (const auto& [menu, kinds] : kindsByMenu) EXPECT_EQ(kinds.size(), 2u) << menu;

    // A format the check does not know greys its entry out and says so.
    CheckCommand unknown = checkAt("H&TML/Chec&k Round Trip...");
    unknown.format = "no-such-format";
    EXPECT_FALSE(checkAvailable(unknown));
    EXPECT_EQ(checkStatusTip(unknown), "This check is not available for this format yet.");
    const CheckCommand& html = checkAt("H&TML/Chec&k Round Trip...");
    EXPECT_TRUE(checkAvailable(html));
    EXPECT_EQ(checkStatusTip(html), html.statusTip);
}

TEST(PairChosenTranslations, OneOfEachOrByName) {
    // One original and one translation pair whatever their names.
    Pairing single = pairChosenTranslations({"en/page.rtf"}, {"de/seite.rtf"});
    ASSERT_EQ(single.pairs.size(), 1u);
    EXPECT_EQ(single.pairs[0].original, "en/page.rtf");
    EXPECT_EQ(single.pairs[0].translated, "de/seite.rtf");
    EXPECT_TRUE(single.problems.empty());

    Pairing named = pairChosenTranslations({"en/a.rtf", "en/b.RTF", "en/c.rtf"},
                                           {"de/b.rtf", "de/a.rtf", "de/d.rtf"});
    ASSERT_EQ(named.pairs.size(), 2u);
    EXPECT_EQ(named.pairs[0].original, "en/b.RTF");
    EXPECT_EQ(named.pairs[0].translated, "de/b.rtf");
    EXPECT_EQ(named.pairs[1].original, "en/a.rtf");
    EXPECT_EQ(named.problems,
              (std::vector<std::string>{"de/d.rtf: no original d.rtf among the chosen originals",
                                        "en/c.rtf: no translation of it was given"}));
}

const std::string kSheet =
    "{\\rtf1 \\ansi\\deff3 \n{\\stylesheet \n"
    "{\\cs5 \\additive \\cf15\\f1\\lang1024 qz4lexExternal;}\n"
    "{\\cs6 \\additive \\cf6\\f1\\lang1024 qz4lexInternal;}}\n";
const std::string kOriginal = kSheet + "{\\cs5 <P>}Some {\\cs6 <B>}bold{\\cs6 </B>} text\\par \n}";
const std::string kDamaged = kSheet + "{\\cs5 <P>}Ein {\\cs6 <B>}fetter Text\\par \n}";

class CheckRunTest : public ::testing::Test {
  protected:
    ScratchFolder folder;
    FakeShell shell;
    BatchSession session{shell};
};

TEST_F(CheckRunTest, VerifyReportsEachPairAsItGoesThenTheSummary) {
    std::string original = folder.path("page.rtf");
    std::string clean = folder.path("clean.rtf");
    std::string damaged = folder.path("damaged.rtf");
    writeFile(original, kOriginal);
    writeFile(clean, kOriginal);
    writeFile(damaged, kDamaged);
    const CheckCommand& verify = checkAt("H&TML/Verify &Translation...");

    shell.fileChoices = {{original}, {damaged}};
    CheckOutcome outcome = runCheck(verify, session);
    EXPECT_TRUE(outcome.ran);
    EXPECT_TRUE(outcome.foundSomething);
    ASSERT_EQ(shell.choices.size(), 2u);
    EXPECT_EQ(shell.choices[0].title, "Select Original HTML RTF Files");
    EXPECT_EQ(shell.choices[1].title, "Select Translated HTML RTF Files");
    EXPECT_EQ(shell.choices[1].filter, filter::kRtf);
    ASSERT_GE(shell.report.size(), 3u);
    EXPECT_EQ(shell.report[0].style, ReportStyle::Heading);
    EXPECT_EQ(shell.reportText(),
              "Verifying HTML translations...\n\n"
              "Checking " +
                  damaged + " against " + original + "...\n" + damaged +
                  ":1: missing-run: internal run \"</B>\" of source paragraph 1 is missing, in "
                  "\"<P>Ein <B>fetter Text\"\n"
                  "1 finding.\n\n"
                  "Summary of Verification\n\n"
                  "verify: 1 finding in 1 of 1 translation (missing-run 1; 1 paragraph "
                  "checked, back-conversion html)\n\n\n\n\n");
    // The finding is a report line of its own, not part of a collected block.
    EXPECT_EQ(shell.report[2].text.substr(0, damaged.size() + 3), damaged + ":1:");
    EXPECT_EQ(shell.report[2].style, ReportStyle::Normal);

    // The same group keeps the report; a clean pair says so.
    shell.report.clear();
    shell.fileChoices = {{original}, {clean}};
    EXPECT_FALSE(runCheck(verify, session).foundSomething);
    EXPECT_EQ(shell.clears, 1);
    EXPECT_EQ(shell.reportText(),
              "Verifying HTML translations...\n\nChecking " + clean + " against " + original +
                  "...\nNo findings.\n\nSummary of Verification\n\n"
                  "verify: no findings in 1 translation (1 paragraph checked, back-conversion "
                  "html)\n\n\n\n\n");
}

TEST_F(CheckRunTest, CancelledChoicesEndTheCheckAfterItsGroupStarted) {
    const CheckCommand& verify = checkAt("&PageMaker/Verify &Translation...");
    shell.fileChoices = {{folder.path("page.rtf")}, {}};
    EXPECT_FALSE(runCheck(verify, session).ran);
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"clear", "choose", "choose"}));

    shell.calls.clear();
    EXPECT_FALSE(runCheck(checkAt("&PageMaker/Chec&k Round Trip..."), session).ran);
    EXPECT_EQ(shell.calls, std::vector<std::string>{"choose"}) << "same group: not cleared";
}

TEST_F(CheckRunTest, UnpairedFilesAreNamedBeforeThePairs) {
    std::string original = folder.path("a.rtf");
    writeFile(original, kOriginal);
    std::filesystem::create_directories(folder.path("de"));
    std::string translated = folder.path("de/a.rtf");
    writeFile(translated, kOriginal);
    std::string stray = folder.path("de/x.rtf");
    writeFile(stray, kOriginal);

    shell.fileChoices = {{original}, {translated, stray}};
    CheckOutcome outcome = runCheck(checkAt("&QuarkXPress/Verify &Translation..."), session);
    EXPECT_TRUE(outcome.foundSomething);
    EXPECT_EQ(shell.reportText(),
              "Verifying QuarkXPress translations...\n\n" + stray +
                  ": no original x.rtf among the chosen originals\n\nChecking " + translated +
                  " against " + original +
                  "...\nNo findings.\n\nSummary of Verification\n\n"
                  "verify: no findings in 1 translation (1 paragraph checked, back-conversion "
                  "quark)\n\n\n\n\n");
}

TEST_F(CheckRunTest, RoundTripWritesEachFilesLinesThenTheSummary) {
    std::string same = folder.path("same.htm");
    std::string joined = folder.path("joined.htm");
    writeFile(same, "<P>One line.\r\n");
    writeFile(joined, "<P>Two lines\r\nof text.\r\n<P>End.\r\n");
    shell.fileChoices = {{same, joined}};
    CheckOutcome outcome = runCheck(checkAt("H&TML/Chec&k Round Trip..."), session);
    EXPECT_TRUE(outcome.ran);
    EXPECT_TRUE(outcome.foundSomething);
    EXPECT_EQ(shell.choices.at(0).title, "Select HTML Files");
    EXPECT_EQ(shell.reportText(),
              "Checking the round trip of HTML files...\n\n"
              "Checking the round trip of " +
                  same + "...\n" + same +
                  ": identical after the round trip (html)\n\n"
                  "Checking the round trip of " +
                  joined + "...\n" + joined +
                  ":1:13: joined-lines: \"\\n\" became \" \" (output 1:13): a line break inside "
                  "running text becomes a blank\n\n"
                  "Summary of Round Trip\n\n"
                  "roundtrip: 2 files, 1 identical, 1 difference (joined-lines 1)\n\n\n\n\n");
}

}  // namespace
}  // namespace tessel::app
