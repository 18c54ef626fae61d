// tessel extract and tessel merge as a translator's project uses them: the
// sources and their XLIFF in one folder, the merged files into another with
// -o (the originals keep their names), options the other commands refuse.
#include <gtest/gtest.h>

#include <regex>

#include "tool_runner.h"

namespace tessel::cli::testing {
namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(XliffCommands, ExtractAndMergeInOneFolderWithAnOutputFolder) {
    ScratchFolder folder;
    std::string story = folder.path("story.txt");
    writeFile(story, "<PMTags1.0 win>\n<@Body:>Good <B>morning<B>.\n<@Body:>Bye.\n");
    ToolRun extract =
        runTool({"extract", "pagemaker", "--xliff", "2.1", "--target-lang", "de", story});
    ASSERT_EQ(extract.exitStatus, 0) << extract.out << extract.err;
    EXPECT_TRUE(contains(extract.out, "2 translation units extracted.\n")) << extract.out;
    std::string xlf = readFile(folder.path("story.xlf"));
    EXPECT_TRUE(contains(xlf, "version=\"2.1\" srcLang=\"en\" trgLang=\"de\"")) << xlf;

    // A translation tool's target for the first unit, the tags moved.
    std::string translated =
        std::regex_replace(xlf, std::regex("(<source xml:space=\"preserve\">Good .*?</source>)"),
                           "$1<target>Guten <ph id=\"1\" dataRef=\"d1\"/>Morgen<ph id=\"2\" "
                           "dataRef=\"d2\"/>.</target>");
    ASSERT_NE(translated, xlf);
    writeFile(folder.path("story.xlf"), translated);
    // The merged file's name is the original's, which lies beside the XLIFF.
    ToolRun beside = runTool({"merge", "pagemaker", folder.path("story.xlf")});
    EXPECT_EQ(beside.exitStatus, 1) << beside.out;
    EXPECT_TRUE(contains(beside.out, "File Error! Output file already exists.")) << beside.out;
    ToolRun merge =
        runTool({"merge", "pagemaker", "-o", folder.path("de"), folder.path("story.xlf")});
    EXPECT_EQ(merge.exitStatus, 3) << merge.out << merge.err;
    EXPECT_TRUE(contains(merge.out,
                         "1 of 2 translation units had no translation; their source text was "
                         "kept.\n"))
        << merge.out;
    EXPECT_EQ(readFile(folder.path("de/story.txt")),
              "<PMTags1.0 win>\r\n<@Body:>Guten <B>Morgen<B>.\r\n<@Body:>Bye.\r\n");
    EXPECT_EQ(readFile(story), "<PMTags1.0 win>\n<@Body:>Good <B>morning<B>.\n<@Body:>Bye.\n");
}

TEST(XliffCommands, RefusesWhatTheyDoNotTake) {
    ScratchFolder folder;
    std::string story = folder.path("story.txt");
    writeFile(story, "<PMTags1.0 win>\n<@Body:>Text.\n");
    struct Case {
        std::vector<std::string> args;
        const char* problem;
    };
    const Case cases[] = {
        {{"extract", "pagemaker", "--xliff", "2.0", story}, "--xliff takes 1.2 or 2.1, not 2.0"},
        {{"extract", "pagemaker", "--target-lang", "de_DE", story},
         "--target-lang takes a language tag such as en or pt-BR, not \"de_DE\""},
        {{"markup", "pagemaker", "--xliff", "1.2", story},
         "--xliff, --source-lang and --target-lang apply to the extract commands only"},
        {{"merge", "pagemaker", "-"}, "- is not taken: the merge reads the original file"},
        {{"extract", "sgml", story}, "--tag-file"},
    };
    for (const Case& c : cases) {
        ToolRun run = runTool(c.args);
        EXPECT_EQ(run.exitStatus, 2) << c.args[2];
        EXPECT_TRUE(contains(run.err, c.problem)) << run.err;
    }
}

}  // namespace
}  // namespace tessel::cli::testing
