// "tessel tokens" and "tessel parse" end to end.
#include <gtest/gtest.h>

#include "tool_runner.h"

namespace tessel::cli::testing {
namespace {

TEST(GrammarCommands, TokensListsPositionsNumbersNamesAndEscapedText) {
    ScratchFolder folder;
    std::string file = folder.path("a.xtg");
    writeFile(file, "<v1.0><e0>\r\n\\a\t<B>\r\n");
    ToolRun run = runTool({"tokens", "quark", file});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out,
              "1\t1\t53\tversion tag\t<v1.0>\n"
              "1\t7\t54\tcodepage tag\t<e0>\n"
              "2\t1\t56\ttext\t\\\\a\\t\n"
              "2\t4\t59\tother tag at end of line\t<B>\n");
    ToolRun all = runTool({"tokens", "QUARK", file, "--all"});
    EXPECT_EQ(all.exitStatus, 0) << all.err;
    EXPECT_NE(all.out.find("1\t11\t55\t(ignored) SSLexTokenNotFound\t\\n\n"), std::string::npos)
        << all.out;
    // The line feed given back by an end-of-line token reports column 1.
    EXPECT_NE(all.out.find("2\t1\t55\t(ignored) SSLexTokenNotFound\t\\n\n"), std::string::npos)
        << all.out;
}

TEST(GrammarCommands, ParseReportsReductionsAndTheUnrecoverableError) {
    ScratchFolder folder;
    std::string good = folder.path("good.pm");
    writeFile(good, "<PMTags1.0 win>\n<B>x\n");
    ToolRun ok = runTool({"parse", "pagemaker", good});
    EXPECT_EQ(ok.exitStatus, 0) << ok.err;
    EXPECT_EQ(ok.out, "reduce 9\nreduce 8\nreduce 5\nreduce 3\nreduce 2\naccepted\n");

    std::string header = folder.path("header.pm");
    writeFile(header, "<PMTags1.0 win>\n");
    ToolRun bad = runTool({"parse", "pagemaker", header});
    EXPECT_EQ(bad.exitStatus, 1);
    EXPECT_EQ(bad.out,
              "-1:-1: Unexpected text: \"eof\". Expected <*INDEX, \\<, \\>, \\@, or <\nFailed to "
              "recover!\n");
    EXPECT_EQ(bad.err, "tessel parse: SSYacc0103e: Attempted read past eof\n");
}

TEST(GrammarCommands, UsageAndRuntimeErrors) {
    ScratchFolder folder;
    ToolRun help = runTool({"parse", "--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.out.find("Usage: tessel parse GRAMMAR FILE"), std::string::npos);
    EXPECT_NE(help.out.find("pagemaker quark ventura ventura4"), std::string::npos) << help.out;

    ToolRun unknown = runTool({"tokens", "latex", folder.path("x")});
    EXPECT_EQ(unknown.exitStatus, 2);
    EXPECT_NE(unknown.err.find("unknown grammar \"latex\""), std::string::npos);
    EXPECT_EQ(runTool({"tokens", "quark"}).exitStatus, 2);
    EXPECT_EQ(runTool({"parse", "quark", "a", "--all"}).exitStatus, 2);

    ToolRun missing = runTool({"tokens", "quark", folder.path("missing.xtg")});
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_NE(missing.err.find("tessel tokens: SSLex0101e: Error opening file"), std::string::npos)
        << missing.err;

    std::string empty = folder.path("empty.xtg");
    writeFile(empty, "");
    ToolRun none = runTool({"parse", "quark", empty});
    EXPECT_EQ(none.exitStatus, 1);
    EXPECT_NE(none.err.find("SSLex0102e"), std::string::npos) << none.err;

    std::string invalid = folder.path("invalid.xtg");
    writeFile(invalid, "x<v1.0><e0>\n");
    ToolRun scan = runTool({"tokens", "quark", invalid});
    EXPECT_EQ(scan.exitStatus, 1);
    EXPECT_EQ(scan.err, "tessel tokens: SSLex0105e: Invalid token, Line 1, Offset 1, x\n");
}

}  // namespace
}  // namespace tessel::cli::testing
