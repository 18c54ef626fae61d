// The tool's own part of the promise that nothing is lost: an output it is
// allowed to replace comes back when the new conversion fails, a file whose
// name differs from the output's only in case is never touched, and on a
// read-only file system every command fails without changing anything.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "support/small_file_system.h"
#include "tool_runner.h"

namespace tessel::cli::testing {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

Files filesIn(const fs::path& folder) {
    Files files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file())
            files[entry.path().filename().string()] = readFile(entry.path().string());
    }
    return files;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

const std::string kOldOutput = "the output of an earlier run";

// A command whose conversion fails, with the files it needs and the output
// it would replace.
struct FailingRun {
    const char* what;
    std::vector<std::string> args;  // before the input's path
    std::string input;
    std::string inputBytes;
    std::string output;
    Files others = {};
};

std::vector<FailingRun> failingRuns() {
    return {
        {"corrupt RTF back to HTML",
         {"back", "html"},
         "page.rtf",
         "{\\rtf1 text\\par {\\b ",
         "page.htm"},
        {"RTF without its signature back to text",
         {"back", "text"},
         "doc.rtf",
         "plain text\n",
         "doc.txt"},
        {"HTML with a broken tag file",
         {"markup", "html", "--tag-file", "TAGS"},
         "page.htm",
         "<P>text\n",
         "page.rtf",
         {{"tags.txt", "ABBR no tab\n"}}},
        {"SGML with a tag file without tags",
         {"markup", "sgml", "--tag-file", "TAGS"},
         "doc.sgm",
         "<p>text\n",
         "doc.rtf",
         {{"tags.txt", "no tags here\n"}}},
        {"QuarkXPress that does not parse",
         {"markup", "quark"},
         "doc.xtg",
         "<v1.70><e1>\n@Normal:a <B\n",
         "doc.RTF"},
    };
}

TEST(ToolFaults, AFailedConversionOverAnOldOutputPutsItBack) {
    for (const FailingRun& run : failingRuns()) {
        ScratchFolder folder;
        fs::path root = fs::path(folder.path("x")).parent_path();
        std::vector<std::string> args = {"--overwrite"};
        for (const std::string& arg : run.args) {
            args.push_back(arg == "TAGS" ? folder.path("tags.txt") : arg);
        }
        for (const auto& [name, bytes] : run.others) writeFile(folder.path(name), bytes);
        writeFile(folder.path(run.input), run.inputBytes);
        writeFile(folder.path(run.output), kOldOutput);
        Files before = filesIn(root);
        args.push_back(folder.path(run.input));

        ToolRun result = runTool(args);
        EXPECT_EQ(result.exitStatus, 1) << run.what << "\n" << result.out << result.err;
        Files after = filesIn(root);
        // Only the log of the failed run may be new; every file that was there
        // is as it was, the old output under its own name.
        for (const auto& [name, bytes] : before) {
            EXPECT_EQ(after[name], bytes) << run.what << ": " << name;
        }
        for (const auto& [name, bytes] : after) {
            bool log = fs::path(name).extension() == ".ERR" || fs::path(name).extension() == ".err";
            EXPECT_TRUE(before.count(name) != 0 || (log && !bytes.empty()))
                << run.what << ": " << name << " left behind";
        }
    }
}

// Without --overwrite a file named like the output but for the case of its
// extension stays as it is. On a file system that tells case apart it is
// somebody else's: with --overwrite too it stays, the tool says so, and the
// file counts as refused. On Windows it is the output itself, which
// --overwrite replaces.
TEST(ToolFaults, ACaseVariantOfTheOutputIsNeverReplaced) {
    struct Case {
        std::vector<std::string> args;
        std::string input, inputBytes, variant;
    };
    const std::vector<Case> cases = {
        {{"back", "html"}, "x.rtf", "{\\rtf1 text\\par }", "x.HTM"},
        {{"markup", "html"}, "page.htm", "<P>text\n", "page.RTF"},
        {{"markup", "quark"}, "doc.xtg", "<v1.70><e1>\n@Normal:text\n", "doc.rtf"},
        {{"markup", "ventura"}, "doc.txt", "@BODY = text\n", "doc.rtf"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        fs::path root = fs::path(folder.path("x")).parent_path();
        writeFile(folder.path(c.input), c.inputBytes);
        writeFile(folder.path(c.variant), "the user's own file");
        Files before = filesIn(root);
        std::vector<std::string> args = c.args;
        args.push_back(folder.path(c.input));

        ToolRun kept = runTool(args);
        EXPECT_EQ(kept.exitStatus, 1) << c.variant << "\n" << kept.out;
        EXPECT_EQ(filesIn(root), before) << c.variant << ": nothing may change";

        args.insert(args.begin(), "--overwrite");
        ToolRun run = runTool(args);
#ifdef _WIN32
        EXPECT_EQ(run.exitStatus, 0) << c.variant << "\n" << run.out;
        EXPECT_FALSE(contains(run.out, "The file " + folder.path(c.variant))) << run.out;
        Files after = filesIn(root);
        EXPECT_EQ(after.size(), 2u) << c.variant;
        EXPECT_EQ(after[c.input], c.inputBytes);
        for (const auto& [name, bytes] : after) {
            EXPECT_NE(bytes, "the user's own file") << name << ": the output was not replaced";
        }
#else
        EXPECT_EQ(run.exitStatus, 1) << c.variant << "\n" << run.out;
        EXPECT_TRUE(contains(run.out, "The file " + folder.path(c.variant))) << c.variant << "\n"
                                                                             << run.out;
        EXPECT_EQ(filesIn(root), before) << c.variant << ": nothing may change";
#endif
    }
}

TEST(ToolFaults, EveryCommandOnAReadOnlyFileSystemChangesNothing) {
    tessel::test::SmallFileSystem disk(256 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << "no right to mount a small tmpfs here";
    const Files inputs = {{"page.htm", "<P>Caf&eacute; <B>x</B>\n"},
                          {"page.rtf", "an old output"},
                          {"back.rtf", "{\\rtf1 {\\cs6 <B>}text\\par }"},
                          {"doc.txt", "one\rtwo\r"},
                          {"doc.xtg", "<v1.70><e1>\n@Normal:Hello <B>x\n"},
                          {"doc.sgm", "<p>text <b>x</b>\n"},
                          {"tags.txt", "<p>\n"}};
    for (const auto& [name, bytes] : inputs) writeFile(disk.file(name), bytes);
    ASSERT_TRUE(disk.makeReadOnly());
    const std::vector<std::vector<std::string>> commands = {
        {"--overwrite", "markup", "html", disk.file("page.htm")},
        {"back", "html", disk.file("back.rtf")},
        {"text", "line-breaks", disk.file("doc.txt")},
        {"markup", "quark", disk.file("doc.xtg")},
        {"markup", "sgml", "--tag-file", disk.file("tags.txt"), disk.file("doc.sgm")},
        {"sgml", "collect-tags", "--tag-file", disk.file("tags.txt"), disk.file("doc.sgm")},
    };
    for (const std::vector<std::string>& command : commands) {
        ToolRun run = runTool(command);
        EXPECT_EQ(run.exitStatus, 1) << command[1] << " " << command[2] << "\n" << run.out;
        EXPECT_EQ(filesIn(disk.root()), inputs) << command[1] << " " << command[2];
    }
}

#ifndef _WIN32
// A report nobody could read is no success: every kind of output the tool
// writes to standard output, sent to a full device, ends with the reason and
// status 2, and a conversion's files are still made.
TEST(ToolFaults, AStandardOutputThatCannotBeWrittenEndsWithItsReason) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    ScratchFolder folder;
    writeFile(folder.path("page.htm"), "<p>Hello</p>\n");
    const std::vector<std::vector<std::string>> commands = {
        {"--version"},
        {"codepages"},
        {"markup", "html", folder.path("page.htm")},
        {"--overwrite", "markup", "html", "--report", "json", folder.path("page.htm")},
    };
    for (const std::vector<std::string>& command : commands) {
        ToolRun run = runToolWithOutputTo(command, "/dev/full");
        EXPECT_EQ(run.exitStatus, 2) << command.back() << "\n" << run.err;
        EXPECT_TRUE(contains(run.err, "tessel: cannot write to standard output: No space left"))
            << command.back() << "\n"
            << run.err;
    }
    EXPECT_TRUE(fs::exists(folder.path("page.rtf")));
}
#endif

}  // namespace
}  // namespace tessel::cli::testing
