// tessel markup pagemaker: the heading, the tags-kind report lines, the RTF
// and the error log of a file with a syntax error.
#include <gtest/gtest.h>

#include "tool_runner.h"

namespace tessel::cli::testing {
namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(PageMakerCommand, MarksUpFilesAndReportsTagCounts) {
    ScratchFolder folder;
    std::string good = folder.path("good.txt");
    std::string one = folder.path("one.txt");
    std::string broken = folder.path("broken.txt");
    std::string headerOnly = folder.path("header.txt");
    writeFile(good, "<PMTags1.0 win><@Body:>Text <B>bold<B>.\n");
    writeFile(one, "no header, so all of it is text\n");
    writeFile(broken, "<PMTags1.0 win>\n<> text <B>x\n");
    writeFile(headerOnly, "<PMTags1.0 win>\n");
    ToolRun run = runTool({"markup", "pagemaker", good, one, broken, headerOnly});

    EXPECT_EQ(run.exitStatus, 1) << run.err;
    EXPECT_TRUE(contains(run.out, "Marking up PageMaker tags...\n\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "4 Tags Marked Up.\n\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "No tags marked up!\n\n")) << run.out;
    EXPECT_TRUE(contains(run.out,
                         "Error! Parsing of this file failed.\nMore info may be available "
                         "in the error log file.\n\n"))
        << run.out;
    EXPECT_TRUE(contains(run.out, "4 File(s) Processed.\n\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "3 output files created.\n2 Error Log Files written.\n"))
        << run.out;
    EXPECT_TRUE(exists(folder.path("good.RTF")));
    EXPECT_TRUE(exists(folder.path("broken.RTF")));
    EXPECT_TRUE(exists(folder.path("broken.err")));
    EXPECT_TRUE(exists(folder.path("header.err")));
    EXPECT_FALSE(exists(folder.path("header.RTF")));
    EXPECT_FALSE(exists(folder.path("good.tmp")));
}

TEST(PageMakerCommand, ExistingRtfIsKeptUnlessOverwriting) {
    ScratchFolder folder;
    std::string file = folder.path("doc.txt");
    writeFile(file, "<PMTags1.0 win><B>x\n");
    writeFile(folder.path("doc.RTF"), "old");
    ToolRun refused = runTool({"markup", "pagemaker", file});
    EXPECT_EQ(readFile(folder.path("doc.RTF")), "old");
    EXPECT_TRUE(contains(refused.out, "File Error! Output file already exists.\n\n"))
        << refused.out;

    ToolRun replaced = runTool({"--overwrite", "markup", "pagemaker", file});
    EXPECT_EQ(replaced.exitStatus, 0) << replaced.out << replaced.err;
    EXPECT_NE(readFile(folder.path("doc.RTF")), "old");
    EXPECT_TRUE(contains(replaced.out, "2 Tags Marked Up.\n\n")) << replaced.out;
}

}  // namespace
}  // namespace tessel::cli::testing
