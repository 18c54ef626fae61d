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
    EXPECT_EQ(menuPaths.size(), 12u);
}

// A pending row and a row that binds the same job (same heading, file
// choice and output) would both exist when an export lands as a new row
// instead of in the pending one: the menu entry would stay greyed out.
TEST(CommandTable, NoPendingRowHasAnAvailableTwin) {
    for (const Command& pending : commandTable()) {
        if (isAvailable(pending)) continue;
        for (const Command& other : commandTable()) {
            if (!isAvailable(other) || !other.menuPath.empty()) continue;
            bool twin = other.heading == pending.heading &&
                        other.fileChoiceTitle == pending.fileChoiceTitle &&
                        other.outputExtension == pending.outputExtension;
            EXPECT_FALSE(twin) << other.family << " " << other.name << " binds the job of "
                               << pendingExportName(pending) << "; bind it in the pending row";
        }
    }
}

TEST(CommandTable, PendingRowsAreHiddenFromLookupsAndDoNothing) {
    int pendingRows = 0;
    for (const Command& command : commandTable()) {
        if (isAvailable(command)) {
            EXPECT_TRUE(pendingExportName(command).empty());
            EXPECT_EQ(findCommand(command.family, command.name), &command);
            continue;
        }
        ++pendingRows;
        EXPECT_EQ(pendingExportName(command).substr(0, 3), "f_i") << command.name;
        EXPECT_EQ(findCommand(command.family, command.name), nullptr) << command.name;

        FakeShell shell;
        shell.files = {"never.txt"};
        BatchSession session(shell);
        EXPECT_TRUE(session.runCommand(command).empty());
        EXPECT_TRUE(shell.calls.empty()) << command.name;
        EXPECT_EQ(callExport(command.exportBinding, ExportRequest{}), -1000);
    }
    if (pendingRows == 0) GTEST_SKIP() << "every command's export exists";
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
    EXPECT_EQ(fakeLibrary().extensions, (std::vector<std::string>{shell.oneFile}));
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
    EXPECT_EQ(fakeLibrary().extensions, (std::vector<std::string>{""}));
}

}  // namespace
}  // namespace tessel::app
