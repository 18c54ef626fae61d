// The per-file workflow and the run summary, with stand-in exports that
// write files into a scratch folder and a shell that records everything.
#include "core/batch_session.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/output_files.h"
#include "fake_batch.h"

namespace tessel::app {
namespace {

using testing::exists;
using testing::fakeCommand;
using testing::FakeLibrary;
using testing::fakeLibrary;
using testing::FakeShell;
using testing::FakeStep;
using testing::readFile;
using testing::ScratchFolder;
using testing::writeFile;

constexpr const char* kFixedTime = "08/12/2026, 10:11:12\n\n";

// An effect that writes a file named like the input with another extension.
std::function<void(const std::string&)> writes(const std::string& extension,
                                               const std::string& content = "written") {
    return [=](const std::string& input) { writeFile(outputNameFor(input, extension), content); };
}

class BatchSessionTest : public ::testing::Test {
  protected:
    void SetUp() override { fakeLibrary() = FakeLibrary{}; }
    void TearDown() override {
        EXPECT_TRUE(fakeLibrary().steps.empty()) << "scripted export calls were not made";
    }

    BatchSession session(BatchOptions options = {}) {
        return BatchSession(shell, options, [] { return std::string(kFixedTime); });
    }
    void script(std::initializer_list<FakeStep> steps) {
        fakeLibrary().steps.assign(steps.begin(), steps.end());
    }
    std::vector<FileOutcome> run(const Command& command, std::vector<std::string> files,
                                 BatchOptions options = {}, const RunSettings& settings = {}) {
        shell.files = std::move(files);
        BatchSession batch = session(options);
        return batch.runCommand(command, settings);
    }

    ScratchFolder folder;
    FakeShell shell;
    Command rtfBack = fakeCommand(ExtensionExport{testing::fakeWithExtension});
};

TEST_F(BatchSessionTest, ReportsEachFileAndTheSummary) {
    std::string a = folder.path("a.rtf"), b = folder.path("b.rtf");
    writeFile(a, "{\\rtf1}");
    writeFile(b, "{\\rtf1}");
    Command command = fakeCommand(ExtensionExport{testing::fakeWithExtension}, ReportKind::Changes,
                                  true, FormatGroup::Html, ".htm");
    script({{0, writes(".htm")}, {3, writes(".htm")}});

    std::vector<FileOutcome> outcomes = run(command, {a, b});

    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(fakeLibrary().extensions, (std::vector<std::string>{".htm", ".htm"}));
    EXPECT_EQ(shell.lastChoice.title, "Select Test Files");
    EXPECT_EQ(shell.reportText(),
              "Testing...\n\n"
              "Converting " +
                  a +
                  "...\n"
                  "File converted OK.\n\n"
                  "Converting " +
                  b +
                  "...\n"
                  "3 change(s) made.\n\n"
                  "2 File(s) Processed.\n\n"
                  "Summary of Markup\n\n" +
                  kFixedTime +
                  "2 files read.\n"
                  "2 output files created.\n"
                  "No Error Log Files written.\n"
                  "\n\n\n\n");
    EXPECT_EQ(shell.report.front().style, ReportStyle::Heading);
    EXPECT_EQ(shell.report[1].style, ReportStyle::Normal);
    std::vector<std::string> headings;
    for (const auto& line : shell.report) {
        if (line.style == ReportStyle::Heading) headings.push_back(line.text);
    }
    EXPECT_EQ(headings, (std::vector<std::string>{"Testing...\n\n", "Summary of Markup\n\n"}));
    EXPECT_TRUE(shell.openedLogs.empty());
}

TEST_F(BatchSessionTest, StoppedBatchSaysHowFarItGotAndSumsUpThoseFiles) {
    std::string a = folder.path("a.rtf"), b = folder.path("b.rtf"), c = folder.path("c.rtf");
    for (const std::string& file : {a, b, c}) writeFile(file, "{\\rtf1}");
    script({{0, writes(".htm")}, {0, writes(".htm")}});
    shell.stopAfterFiles = 2;

    std::vector<FileOutcome> outcomes = run(rtfBack, {a, b, c});

    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(fakeLibrary().inputs, (std::vector<std::string>{a, b}));
    std::string report = shell.reportText();
    EXPECT_EQ(report.find("Converting " + c), std::string::npos);
    EXPECT_NE(report.find("File converted OK.\n\nCancelled after 2 of 3 files.\n\n"
                          "Summary of Markup\n\n"),
              std::string::npos)
        << report;
    EXPECT_EQ(report.find("File(s) Processed."), std::string::npos);
    EXPECT_NE(report.find("2 files read.\n"), std::string::npos) << report;

    // Stopped before the first file: nothing is converted.
    shell.report.clear();
    shell.stopAfterFiles = 0;
    EXPECT_TRUE(run(rtfBack, {a}).empty());
    EXPECT_NE(shell.reportText().find("Cancelled after 0 of 1 files."), std::string::npos);
}

TEST_F(BatchSessionTest, CountersStartAgainAfterEachSummary) {
    std::string a = folder.path("a.rtf");
    writeFile(a, "x");
    BatchSession batch = session();
    shell.files = {a};
    script({{0, writes(".rtf2")}});
    Command command = fakeCommand(ExtensionExport{testing::fakeWithExtension}, ReportKind::Changes,
                                  true, std::nullopt, ".rtf2");
    batch.runCommand(command);
    EXPECT_EQ(batch.counters().filesRead, 0);
    EXPECT_EQ(batch.counters().outputsCreated, 0);

    shell.report.clear();
    batch.writeSummary();
    EXPECT_NE(shell.reportText().find("No files read.\nNo output files created.\n"),
              std::string::npos);
}

TEST_F(BatchSessionTest, NoChosenFilesEndsTheCommandSilently) {
    EXPECT_TRUE(run(rtfBack, {}).empty());
    EXPECT_TRUE(shell.report.empty());
    EXPECT_TRUE(fakeLibrary().inputs.empty());
}

TEST_F(BatchSessionTest, ErrorLogViewsAreClosedFirstAndCancellingEndsTheCommand) {
    std::string a = folder.path("a.rtf");
    shell.allowClose = false;
    EXPECT_TRUE(run(rtfBack, {a}).empty());
    EXPECT_EQ(shell.closeRequests, (std::vector<std::string>{folder.path("a.Err")}));
    EXPECT_TRUE(fakeLibrary().inputs.empty());
    EXPECT_TRUE(shell.report.empty());
}

TEST_F(BatchSessionTest, MultilingualHtmlAsksTheCodePageBeforeTheFiles) {
    Command multilingual = fakeCommand(MultiLingualExport{testing::fakeMultiLingual},
                                       ReportKind::Changes, true, FormatGroup::Html, ".htm");
    std::string a = folder.path("a.rtf"), b = folder.path("b.rtf");
    shell.codePageAnswer = CodePageChoice{1253, "x-greek"};
    script({{0, writes(".htm")}, {2, writes(".htm")}});
    RunSettings settings;
    settings.codePage = 1251;

    ASSERT_EQ(run(multilingual, {a, b}, {}, settings).size(), 2u);

    EXPECT_EQ(shell.codePagePresets, std::vector<unsigned>{1251});
    ASSERT_GE(shell.calls.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(shell.calls.begin(), shell.calls.begin() + 3),
              (std::vector<std::string>{"clear", "codepage", "choose"}));
    // Every file of the batch is written in the chosen code page and charset.
    EXPECT_EQ(fakeLibrary().codePages, (std::vector<unsigned>{1253, 1253}));
    EXPECT_EQ(fakeLibrary().charsets, (std::vector<std::string>{"x-greek", "x-greek"}));
    EXPECT_EQ(fakeLibrary().extensions, (std::vector<std::string>{".htm", ".htm"}));
    EXPECT_NE(shell.reportText().find("2 change(s) made.\n\n"), std::string::npos);

    // Other commands never ask for a code page.
    shell.calls.clear();
    script({{0, nullptr}});
    run(rtfBack, {a});
    EXPECT_EQ(shell.codePagePresets.size(), 1u);
    EXPECT_EQ(shell.calls.front(), "choose");
}

TEST_F(BatchSessionTest, CodePageZeroEndsTheMultilingualCommand) {
    Command multilingual = fakeCommand(MultiLingualExport{testing::fakeMultiLingual},
                                       ReportKind::Changes, true, FormatGroup::Html, ".htm");
    shell.codePageAnswer = CodePageChoice{0, "ignored"};
    EXPECT_TRUE(run(multilingual, {folder.path("a.rtf")}).empty());
    EXPECT_EQ(shell.codePagePresets, std::vector<unsigned>{1252}) << "the default preset";
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"clear", "codepage"}))
        << "no file choice, no report after a cancelled code page";
    EXPECT_TRUE(fakeLibrary().inputs.empty());

    // A shell that cannot ask (the default answer) cancels as well.
    struct SilentShell : FakeShell {
        CodePageChoice chooseCodePage(unsigned preset) override {
            return BatchShell::chooseCodePage(preset);
        }
    } silent;
    silent.files = {folder.path("a.rtf")};
    BatchSession batch(silent);
    EXPECT_TRUE(batch.runCommand(multilingual).empty());
    EXPECT_TRUE(fakeLibrary().inputs.empty());
    EXPECT_TRUE(silent.report.empty());
}

class ExistingOutputTest : public BatchSessionTest {
  protected:
    void SetUp() override {
        BatchSessionTest::SetUp();
        input = folder.path("doc.txt");
        output = folder.path("doc.rtf");
        writeFile(input, "input");
        writeFile(output, "old output");
    }
    std::string input, output;
};

TEST_F(ExistingOutputTest, AnswerNoKeepsTheResultAndCallsNoMore) {
    script({{-115, nullptr}});
    shell.answers = {false};
    std::vector<FileOutcome> outcomes = run(rtfBack, {input});

    EXPECT_EQ(fakeLibrary().inputs.size(), 1u);
    EXPECT_EQ(shell.questions,
              (std::vector<std::string>{"A file named " + output +
                                        " already exists.\n\nDo you want to overwrite it?"}));
    EXPECT_EQ(readFile(output), "old output");
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].result, -115);
    EXPECT_NE(shell.reportText().find("File Error! Output file already exists.\n\n"
                                      "1 File(s) Processed.\n\n"),
              std::string::npos);
    EXPECT_NE(shell.reportText().find("1 file read.\nNo output files created.\n"),
              std::string::npos);
}

TEST_F(ExistingOutputTest, AnswerYesDeletesTheOldOutputAndCallsAgain) {
    script({{-115, nullptr}, {2, writes(".rtf", "new output")}});
    shell.answers = {true};
    std::vector<FileOutcome> outcomes = run(rtfBack, {input});

    EXPECT_EQ(fakeLibrary().inputs, (std::vector<std::string>{input, input}));
    EXPECT_EQ(readFile(output), "new output");
    EXPECT_EQ(outcomes[0].result, 2);
    EXPECT_TRUE(outcomes[0].outputCreated);
    EXPECT_NE(shell.reportText().find("2 change(s) made.\n\n"), std::string::npos);
}

TEST_F(ExistingOutputTest, OverwriteOptionDeletesWithoutAsking) {
    script({{-1401, nullptr}, {0, writes(".rtf", "new output")}});
    std::vector<FileOutcome> outcomes = run(rtfBack, {input}, BatchOptions{true});

    EXPECT_TRUE(shell.questions.empty());
    EXPECT_EQ(readFile(output), "new output");
    EXPECT_NE(shell.reportText().find("1 output file created.\n"), std::string::npos);
}

// A shell that moves outputs elsewhere: the file beside the input stays as
// it is even with the overwrite option, and nothing is asked.
TEST_F(ExistingOutputTest, KeepingFilesBesideTheInputLeavesTheRefusalStanding) {
    script({{-115, nullptr}});
    BatchOptions options{true, true};
    std::vector<FileOutcome> outcomes = run(rtfBack, {input}, options);

    EXPECT_EQ(fakeLibrary().inputs.size(), 1u);
    EXPECT_TRUE(shell.questions.empty());
    EXPECT_EQ(readFile(output), "old output");
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].result, -115);
    EXPECT_FALSE(outcomes[0].outputCreated);
}

TEST_F(ExistingOutputTest, AFileDifferingOnlyInCaseIsReportedAndNeverReplaced) {
    std::filesystem::rename(output, folder.path("doc.RTF"));
#ifdef _WIN32
    // Windows names ignore case: "doc.RTF" is the output "doc.rtf" itself,
    // replaced as any existing output is under the overwrite option.
    script({{-115, nullptr}, {0, writes(".rtf", "new output")}});
    run(rtfBack, {input}, BatchOptions{true});

    EXPECT_EQ(fakeLibrary().inputs.size(), 2u);
    EXPECT_EQ(readFile(output), "new output");
    EXPECT_EQ(shell.reportText().find(" only in case; "), std::string::npos);
    EXPECT_NE(shell.reportText().find("1 output file created.\n"), std::string::npos);
    return;
#endif
    // "doc.RTF" beside an output "doc.rtf" is somebody else's file (a source
    // "x.HTM" beside "x.htm", say): the library refuses, the tool leaves it.
    script({{-115, nullptr}});
    run(rtfBack, {input}, BatchOptions{true});

    EXPECT_EQ(fakeLibrary().inputs.size(), 1u);
    EXPECT_EQ(readFile(folder.path("doc.RTF")), "old output");
    EXPECT_NE(shell.reportText().find("The file " + folder.path("doc.RTF") +
                                      " differs from the output name " + output +
                                      " only in case; it is left as it is.\n"),
              std::string::npos);
    EXPECT_NE(shell.reportText().find("File Error! Output file already exists."),
              std::string::npos);
}

TEST_F(ExistingOutputTest, TheNameTheLibraryWritesIsTheOneReplaced) {
    // The converters write "NAME.RTF"; the command says so, and that file is
    // replaced.
    std::filesystem::rename(output, folder.path("doc.RTF"));
    rtfBack.writtenExtension = ".RTF";
    script({{-115, nullptr}, {0, writes(".RTF", "new output")}});
    shell.answers = {true};
    run(rtfBack, {input});

    ASSERT_EQ(shell.questions.size(), 1u);
    EXPECT_NE(shell.questions[0].find(folder.path("doc.RTF")), std::string::npos);
    EXPECT_EQ(readFile(folder.path("doc.RTF")), "new output");
    EXPECT_NE(shell.reportText().find("1 output file created.\n"), std::string::npos);
}

TEST_F(ExistingOutputTest, AFailedConversionPutsTheOldOutputBack) {
    // The second call fails after writing part of its output.
    script({{-115, nullptr}, {-102, writes(".rtf", "partial")}});
    std::vector<FileOutcome> outcomes = run(rtfBack, {input}, BatchOptions{true});

    EXPECT_EQ(outcomes[0].result, -102);
    EXPECT_EQ(readFile(output), "old output");
    EXPECT_FALSE(outcomes[0].outputCreated);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.root),
                            std::filesystem::directory_iterator()),
              2)
        << "nothing but the input and the old output is left";
}

TEST_F(ExistingOutputTest, AnEmptyLogIsNeverOffered) {
    // A full disk leaves a log that holds nothing.
    script({{-102, writes(".err", "")}});
    std::filesystem::remove(output);
    std::vector<FileOutcome> outcomes = run(rtfBack, {input});

    EXPECT_FALSE(outcomes[0].errorLogPath);
    EXPECT_TRUE(shell.openedLogs.empty());
    EXPECT_NE(shell.reportText().find("No Error Log Files written.\n"), std::string::npos);
}

TEST_F(ExistingOutputTest, AnOutputThatCannotBeDeletedKeepsTheResult) {
    std::filesystem::remove(output);
    std::filesystem::create_directory(output);
    script({{-115, nullptr}});
    std::vector<FileOutcome> outcomes = run(rtfBack, {input}, BatchOptions{true});

    EXPECT_EQ(fakeLibrary().inputs.size(), 1u);
    EXPECT_EQ(outcomes[0].result, -115);
    EXPECT_TRUE(std::filesystem::is_directory(output));
}

TEST_F(ExistingOutputTest, AnOutputNamedLikeTheInputIsNeverDeleted) {
    // The input's own name differs from the output only in extension case.
    std::filesystem::remove(output);
    std::string sameFile = folder.path("doc.RTF");
    writeFile(sameFile, "the user's input");
    script({{-115, nullptr}});
    run(rtfBack, {sameFile}, BatchOptions{true});

    EXPECT_EQ(readFile(sameFile), "the user's input");
    EXPECT_EQ(fakeLibrary().inputs.size(), 1u);
}

TEST_F(BatchSessionTest, UnopenableInputIsNotCountedAsRead) {
    std::string missing = folder.path("missing.rtf");
    script({{-101, nullptr}});
    std::vector<FileOutcome> outcomes = run(rtfBack, {missing});

    EXPECT_FALSE(outcomes[0].countedRead);
    EXPECT_NE(shell.reportText().find("File Error! Can not open input file.\n\n"),
              std::string::npos);
    EXPECT_NE(shell.reportText().find("No files read.\n"), std::string::npos);
}

TEST_F(BatchSessionTest, OutputThatWasAlreadyThereUntouchedIsNotCreated) {
    // An RTF file named a.txt converted back to ".txt": the library refuses
    // (-904) and the existing file is the input, not an output.
    std::string input = folder.path("a.txt");
    writeFile(input, "{\\rtf1}");
    Command command = fakeCommand(ExtensionExport{testing::fakeWithExtension}, ReportKind::Changes,
                                  true, std::nullopt, ".txt");
    script({{-904, nullptr}});
    std::vector<FileOutcome> outcomes = run(command, {input});

    EXPECT_FALSE(outcomes[0].outputCreated);
    EXPECT_NE(shell.reportText().find(
                  "File Error! Same file name specified for input and output files.\n\n"),
              std::string::npos);
    EXPECT_NE(shell.reportText().find("No output files created.\n"), std::string::npos);
}

TEST_F(BatchSessionTest, ErrorLogsAreFoundWhateverTheirExtensionCase) {
    std::string a = folder.path("a.htm"), b = folder.path("b.htm"), c = folder.path("c.htm");
    for (const auto& name : {a, b, c}) writeFile(name, "<p>");
    Command markup =
        fakeCommand(InputOnlyExport{testing::fakeInputOnly}, ReportKind::Changes, false);
    script({{-113, writes(".ERR", "messages")}, {-1, writes(".err", "parse log")}, {0, nullptr}});
    std::vector<FileOutcome> outcomes = run(markup, {a, b, c});

    EXPECT_EQ(outcomes[0].errorLogPath, folder.path("a.ERR"));
    EXPECT_EQ(outcomes[1].errorLogPath, folder.path("b.err"));
    EXPECT_FALSE(outcomes[2].errorLogPath.has_value());
    EXPECT_NE(shell.reportText().find("No changes made!\n\n"), std::string::npos);
    EXPECT_NE(shell.reportText().find("2 Error Log Files written.\n"), std::string::npos);
    EXPECT_EQ(
        shell.openedLogs,
        (std::vector<std::vector<std::string>>{{folder.path("a.ERR"), folder.path("b.err")}}));
}

TEST_F(BatchSessionTest, ALogLeftFromAnEarlierRunIsNotCounted) {
    std::string input = folder.path("a.txt");
    writeFile(input, "x");
    writeFile(folder.path("a.rtf"), "old output");
    writeFile(folder.path("a.ERR"), "old messages");
    script({{-115, nullptr}});
    std::vector<FileOutcome> outcomes = run(rtfBack, {input});

    EXPECT_FALSE(outcomes[0].errorLogPath.has_value());
    EXPECT_NE(shell.reportText().find("No Error Log Files written.\n"), std::string::npos);
    EXPECT_TRUE(shell.openedLogs.empty());
}

TEST_F(BatchSessionTest, TagsKindReportsMarkedUpTags) {
    std::string a = folder.path("a.txt"), b = folder.path("b.txt"), c = folder.path("c.txt");
    for (const auto& name : {a, b, c}) writeFile(name, "<pm>");
    Command markup = fakeCommand(InputOnlyExport{testing::fakeInputOnly}, ReportKind::Tags);
    script({{1, writes(".rtf")}, {0, writes(".rtf")}, {-2, nullptr}});
    run(markup, {a, b, c});

    EXPECT_NE(shell.reportText().find("One tag marked up.\n\n"
                                      "Converting " +
                                      b +
                                      "...\n"
                                      "No tags marked up!\n\n"
                                      "Converting " +
                                      c +
                                      "...\n"
                                      "Error! Could not create output file.\n\n"),
              std::string::npos);
    EXPECT_NE(shell.reportText().find("3 files read.\n2 output files created.\n"),
              std::string::npos);
}

// SGML tag collection: the tag file is the output, the log lies next to the
// input, and the report counts the new tags.
TEST_F(BatchSessionTest, TagCollectionWritesTheTagFileAndCountsNewTags) {
    std::string a = folder.path("a.sgm"), b = folder.path("b.sgm"), c = folder.path("c.sgm");
    std::string tags = folder.path("tags.txt");
    for (const auto& name : {a, b, c}) writeFile(name, "<p>");
    Command collect =
        fakeCommand(TagFileExport{testing::fakeWithTagFile}, ReportKind::NewTags, false);
    collect.tagFile = TagFileRole::Collected;
    collect.outputExtension = "";
    script({{3, [&](const std::string&) { writeFile(tags, "<a>\n<b>\n<p>\n"); }},
            {0, nullptr},
            {-113, writes(".ERR", "log")}});
    RunSettings settings;
    settings.tagFilePath = tags;
    settings.tagFileAsked = true;
    std::vector<FileOutcome> outcomes = run(collect, {a, b, c}, {}, settings);

    EXPECT_EQ(fakeLibrary().tagFiles, (std::vector<std::string>{tags, tags, tags}));
    EXPECT_EQ(outcomes[0].outputPath, tags);
    EXPECT_TRUE(outcomes[0].outputCreated);
    EXPECT_FALSE(outcomes[1].outputCreated) << "nothing new: the tag file was not rewritten";
    EXPECT_EQ(outcomes[2].errorLogPath, folder.path("c.ERR"));
    EXPECT_NE(shell.reportText().find("Using Tag Definition File: " + tags + "\n"),
              std::string::npos);
    EXPECT_NE(shell.reportText().find("3 new tags added to the tag file.\n\n"
                                      "Converting " +
                                      b +
                                      "...\n"
                                      "No new tags found.\n\n"
                                      "Converting " +
                                      c +
                                      "...\n"
                                      "Errors Reported in the Error Log File!\n\n"),
              std::string::npos)
        << shell.reportText();
    EXPECT_NE(shell.reportText().find(
                  "3 files read.\n1 output file created.\n1 Error Log File written.\n"),
              std::string::npos);
}

TEST_F(BatchSessionTest, AnotherFormatGroupClearsTheReport) {
    Command html = fakeCommand(InputOnlyExport{testing::fakeInputOnly}, ReportKind::Changes, false,
                               FormatGroup::Html);
    Command pageMaker = fakeCommand(InputOnlyExport{testing::fakeInputOnly}, ReportKind::Tags, true,
                                    FormatGroup::PageMaker);
    Command noGroup = fakeCommand(InputOnlyExport{testing::fakeInputOnly}, ReportKind::Tags);
    BatchSession batch = session();
    shell.files = {folder.path("a.htm")};
    script({{0, nullptr}, {0, nullptr}, {0, nullptr}, {0, nullptr}, {0, nullptr}});

    batch.runCommand(html);
    EXPECT_EQ(shell.clears, 1);
    batch.runCommand(html);
    EXPECT_EQ(shell.clears, 1);
    batch.runCommand(noGroup);
    EXPECT_EQ(shell.clears, 1);
    batch.runCommand(pageMaker);
    EXPECT_EQ(shell.clears, 2);
    batch.runCommand(html);
    EXPECT_EQ(shell.clears, 3);
}

class TextJobTest : public BatchSessionTest {
  protected:
    Command textJob = fakeCommand(TextEngineExport{testing::fakeTextEngine, 613},
                                  ReportKind::Changes, true, std::nullopt, "");
};

// What the line engine does in place: the input becomes the backup and the
// converted text takes the original name.
std::function<void(const std::string&)> convertsInPlace(bool keepBackup) {
    return [=](const std::string& input) {
        std::string backup = outputNameFor(input, ".OLD");
        std::filesystem::rename(input, backup);
        writeFile(input, "converted\r\n");
        if (!keepBackup) std::filesystem::remove(backup);
    };
}

TEST_F(TextJobTest, InPlaceConversionCountsTheRewrittenInput) {
    std::string input = folder.path("mac.txt");
    writeFile(input, "a\rb\r");
    script({{2, convertsInPlace(false)}});
    std::vector<FileOutcome> outcomes = run(textJob, {input});

    EXPECT_EQ(fakeLibrary().functionCodes, (std::vector<int>{613}));
    EXPECT_EQ(fakeLibrary().extensions, (std::vector<std::string>{""}));
    EXPECT_EQ(fakeLibrary().deleteBackupFlags, (std::vector<int>{1}));
    EXPECT_EQ(outcomes[0].outputPath, input);
    EXPECT_TRUE(outcomes[0].outputCreated);
    EXPECT_NE(shell.reportText().find("2 change(s) made.\n\n"), std::string::npos);
}

TEST_F(TextJobTest, FailedInPlaceConversionCreatesNothing) {
    std::string input = folder.path("mac.txt");
    writeFile(input, "a\rb\r");
    script({{-103, nullptr}});
    RunSettings keep;
    keep.deleteBackup = false;
    std::vector<FileOutcome> outcomes = run(textJob, {input}, {}, keep);

    EXPECT_EQ(fakeLibrary().deleteBackupFlags, (std::vector<int>{0}));
    EXPECT_FALSE(outcomes[0].outputCreated);
    EXPECT_NE(shell.reportText().find("Out of memory!\n\n"), std::string::npos);
}

TEST_F(TextJobTest, NewExtensionWritesANewFile) {
    std::string input = folder.path("mac.txt");
    writeFile(input, "a\r");
    script({{0, writes(".ans")}});
    RunSettings settings;
    settings.outputExtension = ".ans";
    std::vector<FileOutcome> outcomes = run(textJob, {input}, {}, settings);

    EXPECT_EQ(fakeLibrary().extensions, (std::vector<std::string>{".ans"}));
    EXPECT_EQ(outcomes[0].outputPath, folder.path("mac.ans"));
    EXPECT_TRUE(outcomes[0].outputCreated);
    EXPECT_NE(shell.reportText().find("File converted OK.\n\n"), std::string::npos);
}

TEST_F(TextJobTest, OverwritingHandsTheEngineTheInputNameAgain) {
    // The engine writes its output name into the path buffer; the second call
    // must still name the input.
    std::string input = folder.path("mac.txt");
    writeFile(input, "a\r");
    writeFile(folder.path("mac.ans"), "old");
    script({{-115, nullptr}, {0, writes(".ans", "new")}});
    RunSettings settings;
    settings.outputExtension = "ans";
    run(textJob, {input}, BatchOptions{true}, settings);

    EXPECT_EQ(fakeLibrary().inputs, (std::vector<std::string>{input, input}));
    EXPECT_EQ(readFile(folder.path("mac.ans")), "new");
}

TEST_F(TextJobTest, OverlongNamesReachTheEngineWhole) {
    std::string input = folder.path(std::string(300, 'n') + ".txt");
    script({{-101, nullptr}});
    run(textJob, {input});
    EXPECT_EQ(fakeLibrary().inputs, (std::vector<std::string>{input}));
}

}  // namespace
}  // namespace tessel::app

namespace tessel::app {
namespace {

// A shell that sees each file around its report and turns every result into
// a refusal, as the tool's output folder does with an output it may not
// place.
struct HookShell : testing::FakeShell {
    void fileStarting(const std::string& input) override { calls.push_back("start " + input); }
    void fileConverted(FileOutcome& outcome) override {
        calls.push_back("converted " + outcome.outputPath);
        outcome.result = -115;
        outcome.outputCreated = false;
    }
    void fileReported(const FileOutcome& outcome) override {
        calls.push_back("reported " + outcome.resultText);
    }
};

TEST(BatchSessionHooks, TheShellSeesEachFileAndItsChangesAreCountedAndReported) {
    fakeLibrary() = FakeLibrary{};
    testing::ScratchFolder folder;
    std::string input = folder.path("doc.txt");
    writeFile(input, "input");
    fakeLibrary().steps = {{0, writes(".RTF")}};
    HookShell shell;
    shell.files = {input};
    BatchSession batch(shell, {}, [] { return std::string(kFixedTime); });
    std::vector<FileOutcome> outcomes =
        batch.runCommand(fakeCommand(ExtensionExport{testing::fakeWithExtension}));

    std::vector<std::string> hooks;
    for (const std::string& call : shell.calls) {
        if (call.rfind("start", 0) == 0 || call.rfind("converted", 0) == 0 ||
            call.rfind("reported", 0) == 0) {
            hooks.push_back(call);
        }
    }
    // The output's name as the library wrote it, not as the table spells it.
    EXPECT_EQ(hooks,
              (std::vector<std::string>{"start " + input, "converted " + folder.path("doc.RTF"),
                                        "reported File Error! Output file already exists.\n\n"}));
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].result, -115);
    EXPECT_NE(shell.reportText().find("Converting " + input +
                                      "...\nFile Error! Output file already exists.\n\n"),
              std::string::npos)
        << shell.reportText();
    EXPECT_NE(shell.reportText().find("1 file read.\nNo output files created.\n"),
              std::string::npos)
        << shell.reportText();
}

}  // namespace
}  // namespace tessel::app
