// A file another process converted (the tool's -j workers): the session
// neither converts nor reports it, but counts it in the summary and offers
// its error log among the others, in the batch's order.
#include <gtest/gtest.h>

#include <map>

#include "core/batch_session.h"
#include "core/output_files.h"
#include "fake_batch.h"

namespace tessel::app {
namespace {

using testing::FakeLibrary;
using testing::fakeLibrary;
using testing::writeFile;

// Answers for the files of `done` instead of the session converting them.
struct ElsewhereShell : testing::FakeShell {
    std::map<std::string, FileOutcome> done;
    std::vector<std::string> asked;
    std::optional<FileOutcome> fileDoneElsewhere(const std::string& input) override {
        asked.push_back(input);
        auto found = done.find(input);
        if (found == done.end()) return std::nullopt;
        return found->second;
    }
};

TEST(FilesDoneElsewhere, AreCountedButNeitherConvertedNorReported) {
    fakeLibrary() = FakeLibrary{};
    testing::ScratchFolder folder;
    const std::string first = folder.path("a.txt");
    const std::string second = folder.path("b.txt");
    const std::string third = folder.path("c.txt");
    for (const std::string& file : {first, second, third}) writeFile(file, "input");
    // The export runs for the files converted here only: a log for the first.
    fakeLibrary().steps = {
        {-113,
         [](const std::string& input) {
             writeFile(outputNameFor(input, ".rtf"), "written");
             writeFile(outputNameFor(input, ".Err"), "warning");
         }},
        {0, [](const std::string& input) { writeFile(outputNameFor(input, ".rtf"), "written"); }}};
    ElsewhereShell shell;
    shell.files = {first, second, third};
    FileOutcome other;
    other.inputPath = second;
    other.countedRead = true;
    other.outputCreated = true;
    other.errorLogPath = folder.path("b.Err");
    shell.done[second] = other;
    BatchSession batch(shell, {}, [] { return std::string("now\n\n"); });
    std::vector<FileOutcome> outcomes =
        batch.runCommand(testing::fakeCommand(ExtensionExport{testing::fakeWithExtension}));

    EXPECT_TRUE(fakeLibrary().steps.empty()) << "the export ran for another file";
    EXPECT_EQ(shell.asked, (std::vector<std::string>{first, second, third}));
    ASSERT_EQ(outcomes.size(), 3u);
    EXPECT_EQ(outcomes[1].errorLogPath, folder.path("b.Err"));
    const std::string report = shell.reportText();
    EXPECT_NE(report.find("Converting " + first), std::string::npos) << report;
    EXPECT_EQ(report.find("Converting " + second), std::string::npos) << report;
    EXPECT_NE(report.find("Converting " + third), std::string::npos) << report;
    EXPECT_NE(report.find("3 File(s) Processed."), std::string::npos) << report;
    EXPECT_NE(report.find("3 files read.\n3 output files created.\n2 Error Log Files written."),
              std::string::npos)
        << report;
    ASSERT_EQ(shell.openedLogs.size(), 1u);
    EXPECT_EQ(shell.openedLogs[0],
              (std::vector<std::string>{folder.path("a.Err"), folder.path("b.Err")}));
}

}  // namespace
}  // namespace tessel::app
