// The SGML workflow with the tessel tool: collect the tags, edit the tag
// file, mark up, convert back; extraction, report texts and usage errors.
#include <gtest/gtest.h>

#include "tool_runner.h"

namespace tessel::cli::testing {
namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class SgmlTool : public ::testing::Test {
  protected:
    ScratchFolder folder;
};

const std::string kChapter =
    "<chapter id=\"c1\">\r\n<title>Hello</title>\r\n"
    "<para>Text <emphasis>here</emphasis> and\r\nmore.</para>\r\n</chapter>\r\n";

TEST_F(SgmlTool, CollectEditMarkUpAndBack) {
    std::string doc = folder.path("doc.sgml");
    std::string other = folder.path("other.sgml");
    std::string tags = folder.path("tags.txt");
    writeFile(doc, kChapter);
    writeFile(other, "<chapter id=\"c2\"><para>x</para></chapter>\r\n");

    ToolRun collect = runTool({"sgml", "collect-tags", "--tag-file", tags, doc, other});
    EXPECT_EQ(collect.exitStatus, 0) << collect.err;
    EXPECT_TRUE(contains(collect.out, "Converting " + doc +
                                          "...\n8 new tags added to the tag "
                                          "file.\n\nConverting " +
                                          other + "...\n1 new tag added to the tag file.\n\n"))
        << collect.out;
    EXPECT_EQ(readFile(tags),
              "</chapter>\r\n</emphasis>\r\n</para>\r\n</title>\r\n<chapter id=\"c1\">\r\n"
              "<chapter id=\"c2\">\r\n<emphasis>\r\n<para>\r\n<title>\r\n");

    // The user keeps the structure tags: emphasis stays internal.
    writeFile(tags,
              "</chapter>\r\n</para>\r\n</title>\r\n<chapter id=\"c1\">\r\n<para>\r\n<title>\r\n");
    ToolRun markup = runTool({"markup", "sgml", "--tag-file", tags, doc});
    EXPECT_EQ(markup.exitStatus, 0) << markup.err;
    EXPECT_TRUE(contains(markup.out, "Marking up SGML tags...\n\nUsing Tag Definition File: " +
                                         tags + "\nConverting " + doc + "...\n8 change(s) made."))
        << markup.out;
    std::string rtf = readFile(folder.path("doc.rtf"));
    EXPECT_TRUE(contains(rtf,
                         "{\\cs5\\cf15\\f1\\lang1024 <para>}Text {\\cs6\\cf6\\f1\\lang1024 "
                         "<emphasis>}here{\\cs6\\cf6\\f1\\lang1024 </emphasis>} and more."))
        << rtf;

    ToolRun back = runTool({"back", "sgml", folder.path("doc.rtf")});
    EXPECT_EQ(back.exitStatus, 0) << back.err;
    // The two lines of running text are one paragraph now.
    EXPECT_EQ(readFile(folder.path("doc.sgm")),
              "<chapter id=\"c1\">\r\n<title>Hello</title>\r\n"
              "<para>Text <emphasis>here</emphasis> and more.</para>\r\n</chapter>\r\n");
}

TEST_F(SgmlTool, ExtractAndTheReportsOfProblems) {
    std::string doc = folder.path("doc.sgml");
    writeFile(doc, kChapter);
    ToolRun extract = runTool({"sgml", "extract", doc});
    EXPECT_EQ(extract.exitStatus, 0) << extract.err;
    EXPECT_TRUE(contains(
        extract.out, "Extracting SGML tags...\n\nConverting " + doc + "...\n8 tags extracted.\n\n"))
        << extract.out;
    EXPECT_EQ(readFile(folder.path("doc.xsg")),
              "<chapter id=\"c1\">\r\n<title>\r\n</title>\r\n<para>\r\n<emphasis>\r\n"
              "</emphasis>\r\n</para>\r\n</chapter>")
        << "the line break after the last tag of the file is text, not a tag";

    std::string notes = folder.path("notes.txt");
    writeFile(notes, "no tags\r\n");
    ToolRun refused = runTool({"markup", "sgml", "--tag-file", notes, doc});
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_TRUE(contains(refused.out,
                         "File Error! Specified output file exists, but does not contain SGML "
                         "Tags.\n\n"))
        << refused.out;
    EXPECT_EQ(readFile(notes), "no tags\r\n");

    std::string odd = folder.path("odd.sgml");
    writeFile(odd, "a > b <x>\r\n");
    ToolRun logged = runTool({"sgml", "collect-tags", "--tag-file", folder.path("t.txt"), odd});
    EXPECT_EQ(logged.exitStatus, 3) << "the tag file is written, the log kept";
    EXPECT_TRUE(contains(logged.out, "Errors Reported in the Error Log File!")) << logged.out;
    EXPECT_TRUE(exists(folder.path("odd.ERR")));
    EXPECT_EQ(readFile(folder.path("t.txt")), "<x>\r\n");
}

// A LinuxDoc-style document with null end tags, a document type
// declaration with a subset and a marked section: every tag is collected,
// the mark-up leaves none as text and says nothing, and the file comes back.
TEST_F(SgmlTool, ShortFormsCollectMarkUpAndComeBack) {
    std::string doc = folder.path("guide.sgml");
    std::string tags = folder.path("tags.txt");
    const std::string source =
        "<!doctype linuxdoc system [\r\n<!entity % v SYSTEM \"v.ent\"> %v;\r\n]>\r\n"
        "<article>\r\n<p>Read <em/the Guide/ in <tt/guide.sgml/ and/or\r\n"
        "see <![ %draft; [<it>draft</it>]]> http://x/y.</p>\r\n</article>\r\n";
    writeFile(doc, source);
    ToolRun collect = runTool({"sgml", "collect-tags", "--tag-file", tags, doc});
    EXPECT_EQ(collect.exitStatus, 0) << collect.out;
    EXPECT_EQ(readFile(tags),
              "/\r\n<![ %draft; [\r\n</article>\r\n</it>\r\n</p>\r\n<article>\r\n<em/\r\n"
              "<it>\r\n<p>\r\n<tt/\r\n]]>\r\n");

    // The inline tags are left out: they become internal runs.
    writeFile(tags, "/\r\n</article>\r\n</p>\r\n<![ %draft; [\r\n<article>\r\n<p>\r\n]]>\r\n");
    ToolRun markup = runTool({"markup", "sgml", "--tag-file", tags, doc});
    EXPECT_EQ(markup.exitStatus, 0) << markup.out;
    std::string rtf = readFile(folder.path("guide.rtf"));
    const std::string I = "{\\cs6\\cf6\\f1\\lang1024 ";
    const std::string E = "{\\cs5\\cf15\\f1\\lang1024 ";
    EXPECT_TRUE(contains(rtf, E + "<!doctype linuxdoc system [\\par \r\n<!entity % v SYSTEM "
                                  "\"v.ent\"> %v;\\par \r\n]>}"))
        << rtf;
    EXPECT_TRUE(contains(rtf, "Read " + I + "<em/}the Guide" + E + "/} in " + I +
                                  "<tt/}guide.sgml" + E + "/} and/or see " + E + "<![ %draft; [}" +
                                  I + "<it>}draft" + I + "</it>}" + E + "]]>} http://x/y."))
        << rtf;

    ToolRun back = runTool({"back", "sgml", folder.path("guide.rtf")});
    EXPECT_EQ(back.exitStatus, 0) << back.err;
    std::string joined = source;
    joined.replace(joined.find("and/or\r\n"), 8, "and/or ");
    EXPECT_EQ(readFile(folder.path("guide.sgm")), joined) << "one line joined, all else as it was";
}

// A "<" that begins no tag stays text and is logged with its line; so is a
// null end tag that does not come, and the scan starts afresh on the next
// line, where "/" is text.
TEST_F(SgmlTool, MarkupTheScanCannotPlaceIsLoggedWithItsLine) {
    std::string doc = folder.path("odd.sgml");
    writeFile(doc, "<p>if a < b\r\n<tt/never closed\r\n<p>and/or <q>\r\n");
    std::string tags = folder.path("tags.txt");
    ToolRun collect = runTool({"sgml", "collect-tags", "--tag-file", tags, doc});
    EXPECT_EQ(collect.exitStatus, 3) << collect.out;
    EXPECT_EQ(readFile(tags), "<p>\r\n<q>\r\n<tt/\r\n");
    std::string log = readFile(folder.path("odd.ERR"));
    EXPECT_TRUE(contains(log, "[1] SGML \"<\" that begins no tag detected in the following text:"))
        << log;
    EXPECT_TRUE(contains(log, "\r\nLine 1. The \"<\" is kept as text")) << log;
    EXPECT_TRUE(contains(log, "[2] SGML start tag enabling a null end tag (/) without that \"/\""))
        << log;
    EXPECT_TRUE(contains(log, "\r\nLine 2. The element is taken as ended")) << log;
    EXPECT_FALSE(contains(log, "[3]")) << log;
}

TEST_F(SgmlTool, UsageErrors) {
    std::string doc = folder.path("d.sgml");
    writeFile(doc, "<p>\r\n");
    const std::vector<std::vector<std::string>> wrong = {
        {"sgml", "collect-tags", doc},
        {"markup", "sgml", "--tag-file", folder.path("missing.txt"), doc},
        {"sgml", "extract", "--tag-file", doc, doc},
        {"sgml", "collect-tags", "--tag-file", folder.path("t.txt")},
        {"sgml", "tags", doc},
        {"sgml"},
    };
    for (const auto& args : wrong) {
        ToolRun run = runTool(args);
        EXPECT_EQ(run.exitStatus, 2) << args.back();
        EXPECT_TRUE(contains(run.err, "tessel: ")) << run.err;
    }
    ToolRun help = runTool({"markup", "sgml", "--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_TRUE(
        contains(help.out, "Usage: tessel markup sgml --tag-file FILE [OPTIONS] FILE|FOLDER...\n"))
        << help.out;
    EXPECT_TRUE(contains(runTool({"--help"}).out, "  sgml       SGML tag files"));
}

}  // namespace
}  // namespace tessel::cli::testing
