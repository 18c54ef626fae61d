// tessel markup quark, ventura4 and ventura: the heading, the tags-kind
// report lines, the files written, the message box on standard error, and
// the help of each command.
#include <gtest/gtest.h>

#include "tool_runner.h"

namespace tessel::cli::testing {
namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(QuarkCommand, MarksUpFilesAndReportsTagCounts) {
    ScratchFolder folder;
    std::string good = folder.path("good.xtg");
    std::string one = folder.path("one.xtg");
    std::string headerOnly = folder.path("header.xtg");
    std::string empty = folder.path("empty.xtg");
    writeFile(good, "<v1.70><e1>\r\n@Normal:Text <B>bold<B>.\r\n");
    writeFile(one, "<v1.70><e1>\r\nplain text\r\n");
    writeFile(headerOnly, "<v1.70><e1>\r\n");
    writeFile(empty, "");
    ToolRun run = runTool({"markup", "quark", good, one, headerOnly, empty});

    EXPECT_EQ(run.exitStatus, 1) << run.err;
    EXPECT_TRUE(contains(run.out, "Marking up QuarkXPress tags...\n\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "4 Tags Marked Up.\n\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "One tag marked up.\n\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "4 File(s) Processed.\n\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "2 output files created.\n1 Error Log File written.\n"))
        << run.out;
    // Without a presenter in the program, the message box goes to standard error.
    EXPECT_TRUE(contains(run.err,
                         "Error when creating QuarkXPress parser: SSLex0102e: Invalid "
                         "file length or read error, " +
                             folder.path("empty.tmp") + ", 0\n"))
        << run.err;
    EXPECT_TRUE(exists(folder.path("good.RTF")));
    EXPECT_TRUE(exists(folder.path("header.err")));
    EXPECT_FALSE(exists(folder.path("header.RTF")));
    for (const char* copy : {"good.tmp", "one.tmp", "header.tmp", "empty.tmp"}) {
        EXPECT_FALSE(exists(folder.path(copy))) << copy;
    }
}

TEST(VenturaCommands, MarkUpBothVersions) {
    ScratchFolder folder;
    std::string v4 = folder.path("v4.txt");
    std::string v5 = folder.path("v5.txt");
    std::string empty = folder.path("empty.txt");
    writeFile(v4, "@BODY = one\r\ntwo <B>x<D>\r\n");
    writeFile(v5, "@BODY = one\r\ntwo <B>x<D>\r\n");
    writeFile(empty, "");

    ToolRun four = runTool({"markup", "ventura4", v4, empty});
    EXPECT_EQ(four.exitStatus, 1) << four.err;
    EXPECT_TRUE(contains(four.out, "Marking up Ventura 4 tags...\n\n")) << four.out;
    EXPECT_TRUE(contains(four.out, "3 Tags Marked Up.\n\n")) << four.out;
    EXPECT_TRUE(contains(four.out,
                         "Error! Parsing of this file failed.\nMore info may be available "
                         "in the error log file.\n\n"))
        << four.out;
    EXPECT_TRUE(contains(four.err, "Error when creating Ventura 4 parser: SSLex0102e")) << four.err;
    EXPECT_TRUE(contains(readFile(folder.path("v4.RTF")), "one two ")) << "lines joined";

    ToolRun five = runTool({"markup", "ventura", v5});
    EXPECT_EQ(five.exitStatus, 0) << five.err;
    EXPECT_TRUE(contains(five.out, "Marking up Ventura 5 tags...\n\n")) << five.out;
    EXPECT_TRUE(contains(five.out, "3 Tags Marked Up.\n\n")) << five.out;
    EXPECT_TRUE(contains(readFile(folder.path("v5.RTF")), "one\r\n\\par two")) << "lines kept";

    // The RTF exists now: refused without --overwrite, replaced with it.
    ToolRun refused = runTool({"markup", "ventura", v5});
    EXPECT_TRUE(contains(refused.out, "File Error! Output file already exists.\n\n"))
        << refused.out;
    ToolRun replaced = runTool({"--overwrite", "markup", "ventura", v5});
    EXPECT_EQ(replaced.exitStatus, 0) << replaced.out << replaced.err;
    EXPECT_TRUE(contains(replaced.out, "3 Tags Marked Up.\n\n")) << replaced.out;
}

TEST(QuarkAndVenturaCommands, HelpNamesEachCommand) {
    ToolRun family = runTool({"markup", "--help"});
    EXPECT_EQ(family.exitStatus, 0);
    for (const char* name : {"quark ", "ventura4 ", "ventura "}) {
        EXPECT_TRUE(contains(family.out, std::string("  ") + name)) << name << family.out;
    }
    for (const char* name : {"quark", "ventura4", "ventura"}) {
        ToolRun help = runTool({"markup", name, "--help"});
        EXPECT_EQ(help.exitStatus, 0) << name;
        EXPECT_TRUE(contains(
            help.out, std::string("Usage: tessel markup ") + name + " [OPTIONS] FILE|FOLDER...\n"))
            << help.out;
        // The converters write the upper-case extension.
        EXPECT_TRUE(contains(help.out, "next to each file as NAME.RTF")) << help.out;
    }
}

}  // namespace
}  // namespace tessel::cli::testing
