// The tessel tool end to end: options, usage errors, exit statuses, report
// text, existing outputs and the text jobs on real files.
#include <gtest/gtest.h>

#include <filesystem>

#include "tool_runner.h"

namespace tessel::cli::testing {
namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ToolOptions, VersionNamesTheLibrary) {
    ToolRun run = runTool({"--version"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "tessel (Tessel Filter Pack) 1.9.0\nTESSEL_CAT.DLL Version 1.09\n");
}

TEST(ToolOptions, HelpOnEveryLevel) {
    ToolRun top = runTool({"--help"});
    EXPECT_EQ(top.exitStatus, 0);
    EXPECT_TRUE(contains(top.out, "Usage: tessel")) << top.out;
    EXPECT_TRUE(contains(top.out, "  text ")) << top.out;

    ToolRun family = runTool({"text", "--help"});
    EXPECT_EQ(family.exitStatus, 0);
    for (const char* name : {"mac-to-ansi", "ansi-to-mac", "line-breaks"}) {
        EXPECT_TRUE(contains(family.out, name)) << family.out;
    }

    ToolRun command = runTool({"text", "mac-to-ansi", "--help"});
    EXPECT_EQ(command.exitStatus, 0);
    EXPECT_TRUE(contains(command.out, "--ext EXT")) << command.out;
    EXPECT_TRUE(contains(command.out, "--keep-backup")) << command.out;
    EXPECT_TRUE(command.err.empty());
}

TEST(ToolUsage, ErrorsExitWithTwoAndAMessage) {
    ScratchFolder folder;
    std::string file = folder.path("a.txt");
    writeFile(file, "a\n");
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"frobnicate"},
        {"--frob"},
        {"text"},
        {"text", "mac-to-html", file},
        {"text", "line-breaks"},
        {"text", "line-breaks", "--ext"},
        {"text", "line-breaks", "--ext", "", file},
        {"text", "line-breaks", "--ext", "sub/dir", file},
        {"text", "line-breaks", "--bogus", file},
    };
    for (const auto& args : wrong) {
        ToolRun run = runTool(args);
        std::string shown = args.empty() ? "(none)" : args[0] + " ...";
        EXPECT_EQ(run.exitStatus, 2) << shown;
        EXPECT_TRUE(contains(run.err, "tessel: ")) << shown << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << shown;
    }
    EXPECT_EQ(readFile(file), "a\n");
}

class TextJobs : public ::testing::Test {
  protected:
    ScratchFolder folder;
};

TEST_F(TextJobs, LineBreaksInPlaceDeleteTheBackup) {
    std::string file = folder.path("mixed.txt");
    writeFile(file, "one\r\ntwo\nthree\rfour\n");
    ToolRun run = runTool({"text", "line-breaks", file});

    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(readFile(file), "one\r\ntwo\r\nthree\r\nfour\r\n");
    EXPECT_FALSE(exists(folder.path("mixed.OLD")));
    EXPECT_EQ(run.out.substr(0, run.out.find("Summary of Markup")),
              "Converting line breaks into PC format...\n\n"
              "Converting " +
                  file +
                  "...\n"
                  "4 change(s) made.\n\n"
                  "1 File(s) Processed.\n\n");
    EXPECT_TRUE(contains(run.out,
                         "1 file read.\n1 output file created.\n"
                         "No Error Log Files written.\n\n\n\n\n"))
        << run.out;
}

TEST_F(TextJobs, KeepBackupLeavesTheOriginal) {
    std::string file = folder.path("mac.txt");
    writeFile(file, "a\rb\r");
    ToolRun run = runTool({"text", "line-breaks", "--keep-backup", file});

    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(readFile(file), "a\r\nb\r\n");
    EXPECT_EQ(readFile(folder.path("mac.OLD")), "a\rb\r");
}

TEST_F(TextJobs, MacToAnsiIntoANewExtension) {
    std::string file = folder.path("mac.txt");
    const std::string macText = "caf\x8e\rgr\x9f\xa7\r";  // café, grüß in Macintosh Roman
    writeFile(file, macText);
    ToolRun run = runTool({"text", "mac-to-ansi", "--ext", ".ans", file});

    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(readFile(folder.path("mac.ans")), "caf\xe9\r\ngr\xfc\xdf\r\n");
    EXPECT_EQ(readFile(file), macText);
    EXPECT_TRUE(contains(run.out, "File converted OK.\n\n")) << run.out;
}

TEST_F(TextJobs, ExistingOutputIsKeptWithoutATerminalAndReplacedWithOverwrite) {
    std::string file = folder.path("mac.txt");
    std::string output = folder.path("mac.ans");
    writeFile(file, "caf\x8e\r");
    writeFile(output, "precious");

    ToolRun refused = runTool({"text", "mac-to-ansi", "--ext", "ans", file});
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_EQ(readFile(output), "precious");
    EXPECT_TRUE(contains(refused.out, "File Error! Output file already exists.\n\n"));
    EXPECT_TRUE(contains(refused.out, "1 file read.\nNo output files created.\n"));
    EXPECT_TRUE(contains(refused.err, "not a terminal")) << refused.err;

    ToolRun replaced = runTool({"--overwrite", "text", "mac-to-ansi", "--ext", "ans", file});
    EXPECT_EQ(replaced.exitStatus, 0) << replaced.err;
    EXPECT_EQ(readFile(output), "caf\xe9\r\n");
    EXPECT_TRUE(contains(replaced.out, "1 output file created.\n"));
}

TEST_F(TextJobs, ProblemsGoToTheErrorLogAndFailTheRun) {
    std::string good = folder.path("good.txt");
    std::string euro = folder.path("euro.txt");
    writeFile(good, "plain\n");
    writeFile(euro, "price \x80 5\n");  // the euro sign has no Macintosh counterpart
    ToolRun run = runTool({"text", "ansi-to-mac", "--ext", ".mac", good, euro});

    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_TRUE(contains(run.out, "Errors Reported in the Error Log File!\n\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "2 File(s) Processed.\n\n"));
    EXPECT_TRUE(contains(run.out,
                         "2 files read.\n2 output files created.\n"
                         "1 Error Log File written.\n"))
        << run.out;
    EXPECT_TRUE(contains(run.out, "Error log: " + folder.path("euro.ERR") + "\n")) << run.out;
    EXPECT_EQ(readFile(folder.path("good.mac")), "plain\r");
}

TEST_F(TextJobs, PatternsAreExpandedWhenNoFileHasTheirName) {
    writeFile(folder.path("a.txt"), "a\r");
    writeFile(folder.path("b.txt"), "b\r");
    writeFile(folder.path("c.dat"), "c\r");
    ToolRun run = runTool({"text", "line-breaks", folder.path("*.txt")});

    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "Converting " + folder.path("a.txt") + "...\n"));
    EXPECT_TRUE(contains(run.out, "Converting " + folder.path("b.txt") + "...\n"));
    EXPECT_TRUE(contains(run.out, "2 File(s) Processed.\n\n"));
    EXPECT_EQ(readFile(folder.path("c.dat")), "c\r");
}

TEST_F(TextJobs, NamesThatAreNoFilesFailWithoutHarm) {
    std::string good = folder.path("good.txt");
    writeFile(good, "a\r");
    std::filesystem::create_directory(folder.path("dir.txt"));
    std::string longName = folder.path(std::string(270, 'n') + ".txt");

    ToolRun run = runTool({"text", "line-breaks", folder.path("dir.txt"), longName,
                           folder.path("nomatch*.txt"), good});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_TRUE(contains(run.err, "is a folder")) << run.err;
    EXPECT_TRUE(contains(run.err, "file name too long")) << run.err;
    EXPECT_TRUE(contains(run.err, "no file matches")) << run.err;
    EXPECT_TRUE(std::filesystem::is_directory(folder.path("dir.txt")));
    EXPECT_TRUE(contains(run.out, "1 File(s) Processed.\n\n")) << run.out;
    EXPECT_EQ(readFile(good), "a\r\n");
}

TEST_F(TextJobs, AMissingFileReportsTheLibrarysText) {
    ToolRun run = runTool({"text", "mac-to-ansi", "--ext", ".ans", folder.path("missing.txt")});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_TRUE(contains(run.out, "File Error! Can not open input file.\n\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "No files read.\n")) << run.out;
}

}  // namespace
}  // namespace tessel::cli::testing
