// Whole RTF-back jobs on files: names, line ends per function code, the
// per-format step, failures with their partial output and log, and the
// Macintosh pass of PageMaker and QuarkXPress files.
#include "frame/rtf_to_text_job.h"

#include <gtest/gtest.h>

#include <string>

#include "frame/rtf_writer.h"
#include "resources/rtf_texts.h"
#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

using tessel::frame::appendTagRun;
using tessel::frame::readRtfWriteText;
using tessel::frame::TagKind;
using tessel::test::exists;
using tessel::test::readFile;
using tessel::test::TempDir;
using tessel::test::withoutDate;

// A document as our mark-up writes it: the fixed header, body lines each
// closed by a paragraph mark, and the closing brace.
std::string ourRtf(std::string_view body) {
    return std::string(tessel::resources::kRtfHeader) + std::string(body) + "}";
}

std::string tag(TagKind kind, std::string_view text) {
    std::string run;
    appendTagRun(run, kind, text);
    return run;
}

TEST(RtfBackNames, OutputAndLogBesideTheInput) {
    TempDir dir;
    auto path = dir.write("a.rtf", ourRtf("Hello\\par \n"));
    EXPECT_EQ(f_iRTF2Text(path.c_str(), ".txt"), 0);
    EXPECT_EQ(readFile(dir.file("a.txt")), "Hello\r\n");
    EXPECT_EQ(dir.listing(), "a.rtf a.txt") << "no log is left when nothing went wrong";
    EXPECT_EQ(f_iRTF2Text(path.c_str(), "txt"), -115) << "second run while the output exists";
    EXPECT_EQ(readFile(dir.file("a.txt")), "Hello\r\n");
}

TEST(RtfBackNames, OutputNamingTheInputTouchesNothing) {
    TempDir dir;
    auto path = dir.write("a.txt", ourRtf("x"));
    EXPECT_EQ(f_iRTF2Text(path.c_str(), ".TXT"), -904);
    auto log = dir.write("b.rtf", ourRtf("x"));
    EXPECT_EQ(f_iRTF2Text(log.c_str(), ".err"), -904) << "the output would be the log";
    EXPECT_EQ(dir.listing(), "a.txt b.rtf");
}

TEST(RtfBackNames, InputsThatAreNotRtf) {
    TempDir dir;
    auto upper = dir.write("u.rtf", "{\\RTF1 text}");
    auto shortFile = dir.write("s.rtf", "{\\rt");
    auto empty = dir.write("e.rtf", "");
    EXPECT_EQ(f_iRTF2Text(upper.c_str(), ".txt"), -406);
    EXPECT_EQ(f_iRTF2Text(shortFile.c_str(), ".txt"), -406);
    EXPECT_EQ(f_iRTF2Text(empty.c_str(), ".txt"), -406);
    EXPECT_EQ(f_iRTF2Text(dir.file("missing.rtf").c_str(), ".txt"), -101);
    EXPECT_EQ(f_iRTF2Text(dir.path().string().c_str(), ".txt"), -101);
    EXPECT_EQ(f_iRTF2Text(nullptr, ".txt"), -101);
    std::string overlong = dir.file(std::string(260, 'n') + ".rtf");
    EXPECT_EQ(f_iRTF2Text(overlong.c_str(), ".txt"), -101);
    EXPECT_EQ(dir.listing(), "e.rtf s.rtf u.rtf");
}

TEST(RtfBackNames, OnlyBackConversionCodesAreAccepted) {
    TempDir dir;
    auto path = dir.write("a.rtf", ourRtf("x"));
    for (int code : {0, 503, 505, 516, 610, 611, 902}) {
        EXPECT_EQ(funciReadRTFWriteTextParser(path.c_str(), code, ".txt"), -1000) << code;
    }
    EXPECT_EQ(dir.listing(), "a.rtf");
    EXPECT_EQ(funciReadRTFWriteTextParser(path.c_str(), 513, ".txt"), 0);
}

TEST(RtfBackLines, EmptyParagraphsByFunctionCode) {
    TempDir dir;
    const std::string rtf = ourRtf("text\\par \\par \nmore\\par ");
    // Plain text leaves empty paragraphs out; tagged formats keep a line end
    // for every paragraph.
    auto text = dir.write("t.rtf", rtf);
    EXPECT_EQ(f_iRTF2Text(text.c_str(), ".txt"), 0);
    EXPECT_EQ(readFile(dir.file("t.txt")), "text\r\nmore\r\n");
    for (int code : {510, 511, 512, 513}) {
        auto path = dir.write("c" + std::to_string(code) + ".rtf", rtf);
        EXPECT_EQ(funciReadRTFWriteTextParser(path.c_str(), code, "out"), 0) << code;
        EXPECT_EQ(readFile(dir.file("c" + std::to_string(code) + ".out")), "text\r\n\r\nmore\r\n")
            << code;
    }
}

TEST(RtfBackLines, TagRunsAreWrittenAsTextAndTheLastLineHasNoEnd) {
    TempDir dir;
    std::string body = tag(TagKind::External, "@Heading = ") + "Title\\par \n" +
                       tag(TagKind::Internal, "<B>") + "bold" + tag(TagKind::Internal, "<B0>") +
                       " caf\\'e9 \\{x\\}\\tab y\\par \nlast";
    auto path = dir.write("v.rtf", ourRtf(body));
    EXPECT_EQ(f_iVentura4RTF2Text(path.c_str(), ".txt"), 0);
    EXPECT_EQ(readFile(dir.file("v.txt")),
              "@Heading = Title\r\n<B>bold<B0> caf\xE9 {x}\ty\r\nlast");
}

TEST(RtfBackLines, ZeroBytesAndLongLinesSurvive) {
    TempDir dir;
    std::string longText(100000, 'w');
    auto path = dir.write("z.rtf", ourRtf("a\\'00b\\par " + longText + "\\par "));
    EXPECT_EQ(f_iRTF2Text(path.c_str(), ".txt"), 0);
    EXPECT_EQ(readFile(dir.file("z.txt")), std::string("a\0b\r\n", 5) + longText + "\r\n");
}

TEST(RtfBackStep, StepRunsPerLineAndItsCountIsNoChange) {
    TempDir dir;
    auto path = dir.write("h.rtf", ourRtf("ab\\par \\par cd"));
    std::string seen;
    auto step = [&seen](std::string& line) {
        seen += "[" + line + "]";
        line += "!";
        return 5;
    };
    EXPECT_EQ(readRtfWriteText(path.c_str(), 508, ".htm", step), 0);
    EXPECT_EQ(seen, "[ab][][cd]") << "empty paragraphs go through the step too";
    EXPECT_EQ(readFile(dir.file("h.htm")), "ab!\r\n!\r\ncd!");
}

TEST(RtfBackStep, StepFailureEndsTheJobKeepingOutputAndLog) {
    TempDir dir;
    auto path = dir.write("f.rtf", ourRtf("one\\par two\\par three\\par "));
    auto step = [](std::string& line) { return line == "two" ? -103 : 0; };
    EXPECT_EQ(readRtfWriteText(path.c_str(), 512, ".sgm", step), -103);
    EXPECT_EQ(readFile(dir.file("f.sgm")), "one\r\n") << "the failing line is not written";
    EXPECT_TRUE(exists(dir.file("f.ERR")));
}

TEST(RtfBackFailures, PartialOutputAndLogAreKept) {
    TempDir dir;
    auto path = dir.write("p.rtf", "{\\rtf1 abc\\par d\\'zz}");
    EXPECT_EQ(f_iRTF2Text(path.c_str(), ".txt"), -404);
    EXPECT_EQ(readFile(dir.file("p.txt")), "abc\r\n");
    std::string log = withoutDate(readFile(dir.file("p.ERR")));
    EXPECT_EQ(log,
              "\t\tError Log File from Tessel CAT Tools RTF to Text Parser\r\n\r\n"
              "DLL Version:\tVersion 1.09\r\nDate:\t<date>\r\nFile:\t" +
                  path + "\r\nFunction:\tConverting RTF file into Text Only\r\n" +
                  std::string(115, '-') + "\r\n\t...\r\n");

    auto missing = dir.write("m.rtf", "{\\rtf1 abc\\par def");
    EXPECT_EQ(f_iRTF2Text(missing.c_str(), ".txt"), -402);
    EXPECT_EQ(readFile(dir.file("m.txt")), "abc\r\n");
    EXPECT_TRUE(exists(dir.file("m.ERR")));

    auto hex = dir.write("h.rtf", "{\\rtf1 abc\\par d\\'zz}");
    EXPECT_EQ(f_iRTF2Text(hex.c_str(), ".txt"), -404);
    EXPECT_EQ(readFile(dir.file("h.txt")), "abc\r\n");

    auto deep = dir.write("d.rtf", "{\\rtf1 abc\\par " + std::string(1000000, '{'));
    EXPECT_EQ(f_iRTF2Text(deep.c_str(), ".txt"), -405);
    EXPECT_EQ(readFile(dir.file("d.txt")), "abc\r\n");
}

TEST(RtfBackHtml, RoundTripOfOurHtmlMarkup) {
    TempDir dir;
    std::string body = tag(TagKind::External, "<html>") + "\\par \n" +
                       tag(TagKind::Internal, "<p>") + "Caf\xE9 \\ldblquote Menu\\rdblquote  " +
                       tag(TagKind::Internal, "&amp;") + " fish \\endash  \xA3 5 \\bullet  a < b" +
                       tag(TagKind::Internal, "</p>") + "\\par \n\\par \n" +
                       tag(TagKind::External, "</html>") + "\\par \n";
    auto html = dir.write("h.rtf", ourRtf(body));
    EXPECT_EQ(f_iRTF2HTML(html.c_str(), ".htm"), 0) << "the encoder's count is no change";
    EXPECT_EQ(readFile(dir.file("h.htm")),
              "<html>\r\n<p>Caf&eacute; &ldquo;Menu&rdquo; &amp; fish &ndash; &pound; 5 \x95 a < "
              "b</p>\r\n\r\n</html>\r\n");

    auto sgml = dir.write("s.rtf", ourRtf(body));
    EXPECT_EQ(f_iRTF2SGML(sgml.c_str(), ".sgm"), 0);
    EXPECT_EQ(readFile(dir.file("s.sgm")), readFile(dir.file("h.htm")));

    // Compatible HTML: plain punctuation, and empty paragraphs left out; the
    // log says which characters it substituted.
    auto compatible = dir.write("c.rtf", ourRtf(body));
    EXPECT_EQ(f_iRTF2CompatibleHTML(compatible.c_str(), ".htm"), -113);
    EXPECT_EQ(readFile(dir.file("c.htm")),
              "<html>\r\n<p>Caf&eacute; &quot;Menu&quot; &amp; fish - &pound; 5 * a < "
              "b</p>\r\n</html>\r\n");
    EXPECT_EQ(dir.listing(), "c.ERR c.htm c.rtf h.htm h.rtf s.rtf s.sgm");
    std::string log = readFile(dir.file("c.ERR"));
    for (const char* detail :
         {"U+201C (\x93) is written as \"&quot;\"", "U+201D (\x94) is written as \"&quot;\"",
          "U+2013 (\x96) is written as \"-\"", "U+2022 (\x95) is written as \"*\""}) {
        EXPECT_NE(log.find(detail), std::string::npos) << detail << "\n" << log;
    }
    EXPECT_EQ(log.find("[5]"), std::string::npos) << log;
}

// PageMaker and QuarkXPress files whose header names the Macintosh
// character set are converted to it, with Macintosh line ends.
TEST(RtfBackMacintosh, PageMakerWithMacHeader) {
    TempDir dir;
    std::string body = tag(TagKind::External, "<PMTags1.0 mac>") + "\\par \n" +
                       tag(TagKind::Internal, "<@Body:>") + "caf\\'e9 \\endash  ok\\par \n";
    auto path = dir.write("pm.rtf", ourRtf(body));
    dir.write("pm.tmp", "a file of the user's");
    EXPECT_EQ(f_iRTF2PageMaker(path.c_str(), ".txt"), 0);
    EXPECT_EQ(readFile(dir.file("pm.txt")), "<PMTags1.0 mac>\r<@Body:>caf\x8E \xD1 ok\r");
    EXPECT_EQ(readFile(dir.file("pm.tmp")), "a file of the user's");
    EXPECT_EQ(dir.listing(), "pm.rtf pm.tmp pm.txt") << "no temporary copy and no log left";
}

TEST(RtfBackMacintosh, HeadersThatDoNotAskForIt) {
    TempDir dir;
    auto windows = dir.write("w.rtf", ourRtf("<PMTags1.0 win>\\par caf\\'e9\\par "));
    EXPECT_EQ(f_iRTF2PageMaker(windows.c_str(), ".txt"), 0);
    EXPECT_EQ(readFile(dir.file("w.txt")), "<PMTags1.0 win>\r\ncaf\xE9\r\n");
    // The Macintosh header only counts for the PageMaker job.
    auto text = dir.write("t.rtf", ourRtf("<PMTags1.0 mac>\\par caf\\'e9\\par "));
    EXPECT_EQ(f_iRTF2Text(text.c_str(), ".txt"), 0);
    EXPECT_EQ(readFile(dir.file("t.txt")), "<PMTags1.0 mac>\r\ncaf\xE9\r\n");
    auto quark = dir.write("q.rtf", ourRtf("<v4.00><e1>\\par caf\\'e9\\par "));
    EXPECT_EQ(f_iRTF2XPress(quark.c_str(), ".xtg"), 0);
    EXPECT_EQ(readFile(dir.file("q.xtg")), "<v4.00><e1>\r\ncaf\xE9\r\n");
}

TEST(RtfBackMacintosh, QuarkXPressEncodingZero) {
    TempDir dir;
    auto first = dir.write("a.rtf", ourRtf("<v4.00><e0>\\par caf\\'e9\\par "));
    EXPECT_EQ(f_iRTF2XPress(first.c_str(), ".xtg"), 0);
    EXPECT_EQ(readFile(dir.file("a.xtg")), "<v4.00><e0>\rcaf\x8E\r");
    auto second = dir.write("b.rtf", ourRtf("#comment\\par <v3.3><e0>\\par \\'e9"));
    EXPECT_EQ(f_iRTF2XPress(second.c_str(), ".xtg"), 0);
    EXPECT_EQ(readFile(dir.file("b.xtg")), "#comment\r<v3.3><e0>\r\x8E");
}

TEST(RtfBackMacintosh, PassMessagesGoIntoTheJobsLog) {
    TempDir dir;
    // The euro sign has no Macintosh counterpart.
    auto path = dir.write("e.rtf", ourRtf("<PMTags1.0 mac>\\par price \\'80 5\\par "));
    EXPECT_EQ(f_iRTF2PageMaker(path.c_str(), ".txt"), -113);
    EXPECT_EQ(readFile(dir.file("e.txt")), "<PMTags1.0 mac>\rprice ^ 5\r");
    EXPECT_EQ(dir.listing(), "e.ERR e.rtf e.txt");
    std::string log = withoutDate(readFile(dir.file("e.ERR")));
    const std::string separator(58, '-');
    EXPECT_EQ(log,
              "\t\tError Log File from Tessel CAT Tools RTF to Text Parser\r\n\r\n"
              "DLL Version:\tVersion 1.09\r\nDate:\t<date>\r\nFile:\t" +
                  path +
                  "\r\nFunction:\tConverting PageMaker RTF file to PageMaker Tagged Text\r\n" +
                  std::string(115, '-') +
                  "\r\n[1] One or more characters could not be converted, since no "
                  "corresponding character exists.\r\nIn the text segment below these "
                  "characters have been replaced with ^.\r\n" +
                  separator + "\r\nprice ^ 5\r\n\r\n" + separator +
                  "\r\n\r\n[2] Error during code page conversion of intermediate file.\r\n"
                  "\r\n------------------------------------------------- Summary "
                  "-------------------------------------------------\r\n"
                  "\t2 errors reported in this file.\r\n\t0 changes made in the output file.\r\n" +
                  std::string(115, '-') + "\r\n");
}

}  // namespace
