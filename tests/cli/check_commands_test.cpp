// "tessel verify" and "tessel roundtrip" through the tool: exit statuses,
// the lines and the summary, JSON, pairing by name, usage errors.
#include <gtest/gtest.h>

#include "tool_runner.h"

namespace tessel::cli::testing {
namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

const std::string kSheet =
    "{\\rtf1 \\ansi\\deff3 \n{\\stylesheet \n"
    "{\\cs5 \\additive \\cf15\\f1\\lang1024 qz4lexExternal;}\n"
    "{\\cs6 \\additive \\cf6\\f1\\lang1024 qz4lexInternal;}}\n";

std::string paragraph(const std::string& body) {
    return "{\\cs5\\cf15\\f1\\lang1024 <P>}" + body + "\\par \n";
}

const std::string kOriginal =
    kSheet +
    paragraph("Some {\\cs6\\cf6\\f1\\lang1024 <B>}bold{\\cs6\\cf6\\f1\\lang1024 </B>} text") + "}";
// Renumbered as a word processor saves it, the text translated.
const std::string kTranslated =
    "{\\rtf1 \\ansi\\deff3 \n{\\stylesheet \n{\\*\\cs19 qz4lexExternal;}\n"
    "{\\*\\cs20 qz4lexInternal;}}\n{\\cs19 <P>}Ein {\\cs20 <B>}fetter{\\cs20 </B>} Text\\par \n}";
const std::string kDamaged = kSheet + paragraph("Ein {\\cs6 <B>}fetter Text & mehr") + "}";

TEST(CheckCommands, VerifyCleanPairFindingsAndUsage) {
    ScratchFolder folder;
    std::string original = folder.path("page.rtf");
    std::string translated = folder.path("page.de.rtf");
    std::string damaged = folder.path("damaged.rtf");
    writeFile(original, kOriginal);
    writeFile(translated, kTranslated);
    writeFile(damaged, kDamaged);

    ToolRun clean = runTool({"verify", original, translated});
    EXPECT_EQ(clean.exitStatus, 0) << clean.err;
    EXPECT_EQ(clean.out,
              "verify: no findings in 1 translation (1 paragraph checked, back-conversion html)\n");

    ToolRun found = runTool({"verify", original, damaged});
    EXPECT_EQ(found.exitStatus, 1);
    EXPECT_EQ(found.out,
              damaged +
                  ":1: missing-run: internal run \"</B>\" of source paragraph 1 is missing, "
                  "in \"<P>Ein <B>fetter Text & mehr\"\n" +
                  damaged +
                  ":1: markup-character: \"&\" at column 23 is written back as it is, "
                  "as markup, in \"<P>Ein <B>fetter Text & mehr\"\n"
                  "verify: 2 findings in 1 of 1 translation (markup-character 1, "
                  "missing-run 1; 1 paragraph checked, back-conversion html)\n");

    ToolRun json = runTool({"verify", "--json", original, damaged});
    EXPECT_EQ(json.exitStatus, 1);
    EXPECT_TRUE(contains(json.out, "\"kind\":\"missing-run\"")) << json.out;
    EXPECT_TRUE(contains(json.out, "\"byKind\":{\"markup-character\":1,\"missing-run\":1}"))
        << json.out;
    EXPECT_TRUE(json.out.starts_with("{\"command\":\"verify\",\"findings\":[")) << json.out;

    // With a target that is not HTML the "&" is no markup.
    ToolRun pagemaker = runTool({"verify", "--target", "pagemaker", original, damaged});
    EXPECT_FALSE(contains(pagemaker.out, "markup-character")) << pagemaker.out;

    EXPECT_EQ(runTool({"verify", original}).exitStatus, 2);
    EXPECT_EQ(runTool({"verify", original, folder.path("missing.rtf")}).exitStatus, 2);
    EXPECT_EQ(runTool({"verify", "--target", "word", original, translated}).exitStatus, 2);
    EXPECT_EQ(
        runTool({"verify", "--target", "html-multilingual:77", original, translated}).exitStatus,
        2);
    EXPECT_EQ(
        runTool({"verify", "--target=html-multilingual:1250", original, translated}).exitStatus, 0);
    ToolRun help = runTool({"verify", "--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_TRUE(contains(help.out, "html, html-compatible, html-multilingual:CP, pagemaker"))
        << help.out;
}

TEST(CheckCommands, VerifyBatchPairsByName) {
    ScratchFolder folder;
    std::string originals = folder.path("en");
    std::string translations = folder.path("de");
    std::filesystem::create_directories(originals);
    std::filesystem::create_directories(translations);
    writeFile(originals + "/a.rtf", kOriginal);
    writeFile(originals + "/b.RTF", kOriginal);
    writeFile(originals + "/c.rtf", kOriginal);
    writeFile(translations + "/a.rtf", kTranslated);
    writeFile(translations + "/b.rtf", kDamaged);
    writeFile(translations + "/d.rtf", kTranslated);

    ToolRun run = runTool({"verify", "--batch", originals, translations});
    // The files of a folder are named with the system's separator.
    const std::string sep(1, static_cast<char>(std::filesystem::path::preferred_separator));
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_TRUE(contains(run.out, translations + sep + "b.rtf:1: missing-run:")) << run.out;
    EXPECT_TRUE(contains(run.out, "verify: 2 findings in 1 of 2 translations")) << run.out;
    EXPECT_TRUE(contains(run.err, translations + sep + "d.rtf: no original d.rtf in " + originals))
        << run.err;
    EXPECT_TRUE(contains(run.err, originals + sep + "c.rtf: no translation of it was given"))
        << run.err;

    ToolRun one = runTool({"verify", "--batch", originals, translations + "/a.rtf"});
    EXPECT_EQ(one.exitStatus, 0) << one.out << one.err;
    EXPECT_EQ(runTool({"verify", "--batch", translations + "/a.rtf", translations}).exitStatus, 2)
        << "the originals are a folder";
}

TEST(CheckCommands, RoundtripExitStatusLinesAndJson) {
    ScratchFolder folder;
    std::string same = folder.path("same.htm");
    std::string joined = folder.path("joined.htm");
    writeFile(same, "<P>One line.\r\n");
    writeFile(joined, "<P>Two lines\r\nof text.\r\n<P>End.\r\n");

    ToolRun identical = runTool({"roundtrip", same});
    EXPECT_EQ(identical.exitStatus, 0) << identical.err;
    EXPECT_EQ(identical.out, same +
                                 ": identical after the round trip (html)\n"
                                 "roundtrip: 1 file, 1 identical\n");

    ToolRun differs = runTool({"roundtrip", same, joined});
    EXPECT_EQ(differs.exitStatus, 1);
    EXPECT_TRUE(contains(differs.out, joined + ":1:13: joined-lines: \"\\n\" became \" \""))
        << differs.out;

    ToolRun json = runTool({"roundtrip", "--json", joined});
    EXPECT_TRUE(contains(json.out, "\"rules\":[\"joined-lines\"]")) << json.out;
    EXPECT_TRUE(contains(json.out, "\"summary\":{\"files\":1,\"identical\":0")) << json.out;

    EXPECT_EQ(runTool({"roundtrip"}).exitStatus, 2);
    EXPECT_EQ(runTool({"roundtrip", "--format", "word", same}).exitStatus, 2);
    EXPECT_EQ(runTool({"roundtrip", folder.path("none.htm")}).exitStatus, 2);
    EXPECT_EQ(runTool({"roundtrip", "--tag-file", folder.path("none.txt"), same}).exitStatus, 2);
    ToolRun help = runTool({"roundtrip", "--help"});
    EXPECT_TRUE(contains(help.out, "html|pagemaker|quark|ventura|ventura4|sgml")) << help.out;
    EXPECT_TRUE(contains(help.out, "taken as Ventura 5 to 7")) << help.out;
    EXPECT_TRUE(contains(help.out, "                     quark: .xtg\n")) << help.out;
}

}  // namespace
}  // namespace tessel::cli::testing
