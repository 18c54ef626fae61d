// "tessel codepages" end to end.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "tool_runner.h"

namespace tessel::cli::testing {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(CodePagesCommand, ListsLanguagesThenCodePages) {
    ToolRun run = runTool({"codepages"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    std::vector<std::string> lines = linesOf(run.out);
    // Heading, 104 languages, a blank line, heading, 29 code pages.
    ASSERT_EQ(lines.size(), 1u + 104u + 1u + 1u + 29u) << run.out;
    EXPECT_EQ(lines[0].substr(0, 8), "Language");
    EXPECT_EQ(lines[1], std::string("Afrikaans") + std::string(41, ' ') + "      1252  iso-8859-1");
    auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("Greek" + std::string(45, ' ') + "      1253  Windows-1253"));
    EXPECT_TRUE(has("Japanese" + std::string(42, ' ') + "       932  shift_jis"));
    EXPECT_TRUE(has("     65001  UTF-8"));
    EXPECT_TRUE(has("     20866  koi8-r"));
    EXPECT_EQ(lines[105], "");
}

TEST(CodePagesCommand, HelpAndStrayArguments) {
    ToolRun help = runTool({"codepages", "--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("Usage: tessel codepages\n", 0), 0u) << help.out;
    ToolRun stray = runTool({"codepages", "1251"});
    EXPECT_EQ(stray.exitStatus, 2);
    EXPECT_NE(stray.err.find("unexpected argument 1251"), std::string::npos) << stray.err;
    EXPECT_EQ(runTool({"--overwrite", "codepages"}).exitStatus, 2);
}

}  // namespace
}  // namespace tessel::cli::testing
