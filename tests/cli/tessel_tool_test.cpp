// The tessel tool end to end: options, usage errors, exit statuses, report
// text, existing outputs and the text jobs on real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

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

// A wrong command line gets one line naming the problem and one naming the
// help to read, nothing on standard output, and exit status 2.
TEST(ToolUsage, ErrorsExitWithTwoAndOneLineAndWhereToReadMore) {
    ScratchFolder folder;
    std::string file = folder.path("a.txt");
    writeFile(file, "a\n");
    struct Wrong {
        std::vector<std::string> args;
        std::string help;  // the command whose help is named
    };
    const std::vector<Wrong> wrong = {
        {{}, "tessel"},
        {{"frobnicate"}, "tessel"},
        {{"--frob"}, "tessel"},
        {{"--overwrite", "verify", file, file}, "tessel verify"},
        {{"text"}, "tessel text"},
        {{"text", "mac-to-html", file}, "tessel text"},
        {{"text", "line-breaks"}, "tessel text line-breaks"},
        {{"text", "line-breaks", "--ext"}, "tessel text line-breaks"},
        {{"text", "line-breaks", "--ext", "", file}, "tessel text line-breaks"},
        {{"text", "line-breaks", "--ext", "sub/dir", file}, "tessel text line-breaks"},
        {{"text", "line-breaks", "--bogus", file}, "tessel text line-breaks"},
        {{"markup", "html", "--report", "xml", file}, "tessel markup html"},
        {{"back", "html", "--ext", ".x", file}, "tessel back html"},
        {{"verify", "--bogus"}, "tessel verify"},
        {{"roundtrip"}, "tessel roundtrip"},
        {{"tokens", "nogrammar", file}, "tessel tokens"},
        {{"codepages", "extra"}, "tessel codepages"},
    };
    for (const Wrong& w : wrong) {
        ToolRun run = runTool(w.args);
        std::string shown = w.args.empty() ? "(none)" : w.args[0] + " ...";
        EXPECT_EQ(run.exitStatus, 2) << shown;
        EXPECT_TRUE(run.out.empty()) << shown;
        std::size_t firstEnd = run.err.find('\n');
        ASSERT_NE(firstEnd, std::string::npos) << shown << ": " << run.err;
        EXPECT_EQ(run.err.substr(0, 8), "tessel: ") << shown << ": " << run.err;
        EXPECT_EQ(run.err.substr(firstEnd + 1), "Try '" + w.help + " --help'.\n")
            << shown << ": " << run.err;
    }
    EXPECT_EQ(readFile(file), "a\n");
}

// The subcommands a family's help lists.
std::vector<std::string> subcommandsOf(const std::string& help) {
    std::vector<std::string> names;
    std::size_t at = help.find("Subcommands:\n");
    if (at == std::string::npos) return names;
    std::istringstream lines(help.substr(at + 13));
    std::string line;
    while (std::getline(lines, line) && line.rfind("  ", 0) == 0) {
        // Wrapped descriptions continue on lines of blanks first.
        if (line[2] != ' ') names.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
    return names;
}

// Every help text: shown on standard output, lines that fit 80 columns, a
// table whose names stand apart from their descriptions, and a last line
// that ends a sentence.
TEST(ToolOptions, HelpTextsHaveNoCutLinesOrRunTogetherColumns) {
    std::vector<std::vector<std::string>> helps = {{"--help"}};
    for (const char* command : {"verify", "roundtrip", "tokens", "parse", "codepages"}) {
        helps.push_back({command, "--help"});
    }
    std::size_t commands = 0;
    for (const char* family : {"text", "markup", "sgml", "back"}) {
        helps.push_back({family, "--help"});
        for (const std::string& name : subcommandsOf(runTool({family, "--help"}).out)) {
            helps.push_back({family, name, "--help"});
            ++commands;
        }
    }
    EXPECT_EQ(commands, 19u) << "every row of the command table has its help";
    for (const auto& args : helps) {
        std::string shown;
        for (const std::string& arg : args) shown += arg + " ";
        ToolRun run = runTool(args);
        EXPECT_EQ(run.exitStatus, 0) << shown;
        EXPECT_TRUE(run.err.empty()) << shown;
        ASSERT_FALSE(run.out.empty()) << shown;
        EXPECT_EQ(run.out.back(), '\n') << shown;
        std::istringstream lines(run.out);
        std::string line, last;
        bool inTable = false;
        while (std::getline(lines, line)) {
            EXPECT_LE(line.size(), 80u) << shown << ": " << line;
            if (!line.empty()) last = line;
            if (line == "Commands:" || line == "Subcommands:") {
                inTable = true;
                continue;
            }
            if (line.empty()) inTable = false;
            if (!inTable || line[2] == ' ') continue;
            std::size_t nameEnd = line.find(' ', 2);
            EXPECT_EQ(line.compare(nameEnd, 2, "  "), 0) << shown << ": run together: " << line;
        }
        char end = last.back();
        EXPECT_TRUE(end == '.' || end == ':' || end == ')') << shown << ": ends with: " << last;
    }
    ToolRun pagemaker = runTool({"markup", "pagemaker", "--help"});
    EXPECT_TRUE(contains(pagemaker.out, "as NAME.RTF")) << pagemaker.out;
    ToolRun html = runTool({"markup", "html", "--help"});
    EXPECT_TRUE(contains(html.out, "match *.htm* (upper or lower case)")) << html.out;
    EXPECT_TRUE(contains(html.out, "3 when every output was written")) << html.out;
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

TEST_F(TextJobs, ProblemsGoToTheErrorLogAndEndWithStatusThree) {
    std::string good = folder.path("good.txt");
    std::string euro = folder.path("euro.txt");
    writeFile(good, "plain\n");
    writeFile(euro, "price \x80 5\n");  // the euro sign has no Macintosh counterpart
    ToolRun run = runTool({"text", "ansi-to-mac", "--ext", ".mac", good, euro});

    EXPECT_EQ(run.exitStatus, 3) << "every output written, a log kept";
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
