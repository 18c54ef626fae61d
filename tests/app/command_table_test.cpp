// The command table as both shells read it: unique names and menu entries,
// pending rows that only the desktop shows, and the order in which the HTML
// mark-up settles its tag definition file.
#include "core/command_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "core/batch_session.h"
#include "fake_batch.h"

namespace tessel::app {
namespace {

using testing::fakeLibrary;
using testing::FakeLibrary;
using testing::FakeShell;
using testing::ScratchFolder;
using testing::writeFile;

TEST(CommandTable, NamesAndMenuEntriesAreUnique) {
    std::set<std::pair<std::string_view, std::string_view>> names;
    std::set<std::string_view> menuPaths;
    for (const Command& command : commandTable()) {
        EXPECT_TRUE(names.insert({command.family, command.name}).second)
            << "two rows for " << command.family << " " << command.name;
        if (command.menuPath.empty()) continue;
        EXPECT_TRUE(menuPaths.insert(command.menuPath).second) << command.menuPath;
        EXPECT_FALSE(command.statusTip.empty()) << command.menuPath;
    }
    // Twelve conversions and, for the five formats with a menu, the XLIFF pair.
    EXPECT_EQ(menuPaths.size(), 22u);
}

class TagFileOrderTest : public ::testing::Test {
  protected:
    void SetUp() override { fakeLibrary() = FakeLibrary{}; }

    ScratchFolder folder;
    FakeShell shell;
    Command markup = [] {
        Command command = testing::fakeCommand(TagFileExport{testing::fakeWithTagFile});
        command.heading = "Marking up HTML tags...\n\n";
        return command;
    }();
};

TEST_F(TagFileOrderTest, HeadingAndTagFileComeBeforeTheErrorLogViewsClose) {
    std::string input = folder.path("page.htm");
    writeFile(input, "<p>x</p>");
    shell.files = {input};
    shell.oneFile = folder.path("tags.txt");
    fakeLibrary().steps.push_back({0, nullptr});
    RunSettings settings;
    settings.chooseTagFile = true;

    BatchSession(shell).runCommand(markup, settings);

    ASSERT_GE(shell.calls.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(shell.calls.begin(), shell.calls.begin() + 5),
              (std::vector<std::string>{"choose", "report", "one", "report", "close"}));
    ASSERT_EQ(shell.oneFileChoices.size(), 1u);
    EXPECT_EQ(shell.oneFileChoices[0].title, "Select HTML Tag Definition File");
    EXPECT_EQ(shell.oneFileChoices[0].filter, filter::kText);
    EXPECT_EQ(shell.report[1].text, "Using Tag Definition File: " + shell.oneFile + "\n");
    EXPECT_EQ(fakeLibrary().tagFiles, (std::vector<std::string>{shell.oneFile}));
}

TEST_F(TagFileOrderTest, NoChosenTagFileIsReportedAndCancelledCloseSkipsTheFiles) {
    shell.files = {folder.path("page.htm")};
    shell.allowClose = false;
    RunSettings settings;
    settings.chooseTagFile = true;

    EXPECT_TRUE(BatchSession(shell).runCommand(markup, settings).empty());

    EXPECT_EQ(shell.reportText(), "Marking up HTML tags...\n\nNo Tag Definition File Used.\n");
    EXPECT_TRUE(fakeLibrary().inputs.empty());
}

TEST_F(TagFileOrderTest, WithoutTheQuestionNoTagFileLineIsWritten) {
    std::string input = folder.path("page.htm");
    writeFile(input, "<p>x</p>");
    shell.files = {input};
    fakeLibrary().steps.push_back({0, nullptr});

    BatchSession(shell).runCommand(markup);

    EXPECT_TRUE(shell.oneFileChoices.empty());
    EXPECT_EQ(shell.reportText().find("Tag Definition File"), std::string::npos);
    EXPECT_EQ(fakeLibrary().tagFiles, (std::vector<std::string>{""}));
}

}  // namespace
}  // namespace tessel::app

namespace tessel::app {
namespace {

TEST(FilterPatterns, ThePatternsOfTheFirstFileType) {
    EXPECT_EQ(filterPatterns(filter::kHtml), (std::vector<std::string>{"*.htm*"}));
    EXPECT_EQ(filterPatterns(filter::kRtf), (std::vector<std::string>{"*.rtf"}));
    EXPECT_EQ(filterPatterns("Tagged|*.pm6;*.txt;;*.pmt|All (*.*)|*.*||"),
              (std::vector<std::string>{"*.pm6", "*.txt", "*.pmt"}));
    EXPECT_TRUE(filterPatterns("no patterns").empty());
    // Every command has a pattern for the folders the tool walks.
    for (const Command& command : commandTable()) {
        EXPECT_FALSE(filterPatterns(command.fileFilter).empty()) << command.name;
    }
}

}  // namespace
}  // namespace tessel::app
