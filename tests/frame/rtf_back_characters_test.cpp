// Whole RTF-back jobs on what current word processors write: Unicode
// characters, fonts in other code pages, manual line breaks and hyphens. Each
// output holds what was typed where it can, and says in the log where not.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "frame/error_log.h"
#include "frame/rtf_to_text_job.h"
#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

namespace fs = std::filesystem;
using tessel::test::readFile;
using tessel::test::TempDir;

// As LibreOffice writes it: "\uN" with "?" fallbacks, spaces of a run as
// U+2006 and a space, "\line", "\-" and "\_".
constexpr const char* kTypedRtf =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times;}}"
    "\\pard\\plain \\u321\\'3f\\u243\\'f3d\\u378\\'3f \\u1055\\'3f\\u1088\\'3f\\u1080\\'3f"
    "\\u1074\\'3f\\u1077\\'3f\\u1090\\'3f {\\dbch \\u26085\\'3f\\u26412\\'3f}\\par "
    "in\\line advance, two\\u8198\\'20 \\u8198\\'20 spaces, soft\\-hyphen, nb\\_hyphen, "
    "\\u8222\\'84quoted\\u8220\\'93\\par }";

TEST(RtfBackCharacters, HtmlHoldsEverythingTyped) {
    TempDir dir;
    std::string path = dir.write("t.rtf", kTypedRtf);
    EXPECT_EQ(f_iRTF2HTML(path.c_str(), ".htm"), 0);
    EXPECT_EQ(
        readFile(dir.file("t.htm")),
        "&#321;&oacute;d&#378; &#1055;&#1088;&#1080;&#1074;&#1077;&#1090; &#26085;&#26412;\r\n"
        "in<br>advance, two  spaces, soft&shy;hyphen, nb&#8209;hyphen, &bdquo;quoted&ldquo;"
        "\r\n");
    EXPECT_EQ(dir.listing(), "t.htm t.rtf") << "no log: nothing was lost";
    ASSERT_EQ(f_iRTF2SGML(path.c_str(), ".sgm"), 0);
    EXPECT_NE(readFile(dir.file("t.sgm")).find("in\r\nadvance"), std::string::npos);
}

TEST(RtfBackCharacters, TextSaysWhatItCouldNotHold) {
    TempDir dir;
    std::string path = dir.write("t.rtf", kTypedRtf);
    EXPECT_EQ(f_iRTF2Text(path.c_str(), ".txt"), -113);
    EXPECT_EQ(readFile(dir.file("t.txt")),
              "?\xF3"
              "d? ?????? ??\r\nin\r\nadvance, two  spaces, soft\xADhyphen, nb-hyphen, "
              "\x84quoted\x93\r\n");
    std::string log = readFile(dir.file("t.ERR"));
    EXPECT_NE(log.find("[1] Character(s) that the code page of the output file cannot hold were "
                       "found in the following text segment:\r\n" +
                       std::string(58, '-') +
                       "\r\n?\xF3"
                       "d? ?????? ??\r\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Not written as themselves: U+0141, U+017A, U+041F"), std::string::npos);
    EXPECT_NE(log.find("[2] "), std::string::npos);
    EXPECT_NE(log.find("Not written as themselves: U+2011."), std::string::npos);
    EXPECT_NE(log.find("\t2 errors reported in this file."), std::string::npos);
}

TEST(RtfBackCharacters, TaggedTextUsesItsEscapesAndSoftLineBreaks) {
    TempDir dir;
    std::string path =
        dir.write("q.rtf", "{\\rtf1 <v4.00><e1>\\par \\u321?\\u243?d\\u378?\\line x\\par }");
    EXPECT_EQ(f_iRTF2XPress(path.c_str(), ".xtg"), -113);
    EXPECT_EQ(readFile(dir.file("q.xtg")),
              "<v4.00><e1>\r\n<\\#321>\xF3"
              "d<\\#378><\\n>x\r\n");
    std::string ventura = dir.write("v.rtf", "{\\rtf1 a\\line b\\par }");
    EXPECT_EQ(f_iVentura4RTF2Text(ventura.c_str(), ".txt"), 0);
    EXPECT_EQ(readFile(dir.file("v.txt")), "a<R>b\r\n");
}

TEST(RtfBackCharacters, MacintoshFilesKeepWhatTheMacintoshSetHolds) {
    TempDir dir;
    // A Central European document: its bytes are read in 1250 (0xB2 is the
    // ogonek, a Macintosh character), the pass reads Windows 1252 all the same.
    std::string path = dir.write(
        "m.rtf",
        "{\\rtf1\\ansi\\ansicpg1250 <PMTags1.0 mac>\\par \\u960?r\\'b2 \\u233?\\u321?\\par }");
    EXPECT_EQ(f_iRTF2PageMaker(path.c_str(), ".txt"), -113);
    EXPECT_EQ(readFile(dir.file("m.txt")), "<PMTags1.0 mac>\r<\\#185>r<\\#254> \x8E<\\#321>\r");
    std::string log = readFile(dir.file("m.ERR"));
    EXPECT_NE(log.find("Not written as themselves: U+0141."), std::string::npos) << log;
    EXPECT_EQ(log.find("U+03C0"), std::string::npos) << "pi is held by the Macintosh byte";
}

TEST(RtfBackCharacters, TextFormatsWriteTheDocumentsCodePage) {
    TempDir dir;
    std::string path =
        dir.write("r.rtf",
                  "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Times Cyr;}}\\f0 "
                  "\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 \\u1105?\\par }");
    EXPECT_EQ(f_iRTF2Text(path.c_str(), ".txt"), 0);
    EXPECT_EQ(readFile(dir.file("r.txt")), "\xCF\xF0\xE8\xE2\xE5\xF2 \xB8\r\n");
    ASSERT_EQ(f_iRTF2HTML(path.c_str(), ".htm"), 0);
    EXPECT_EQ(readFile(dir.file("r.htm")),
              "&#1055;&#1088;&#1080;&#1074;&#1077;&#1090; &#1105;\r\n");
}

TEST(RtfBackCharacters, MultilingualHtmlInTheChosenCodePage) {
    TempDir dir;
    std::string path = dir.write("t.rtf", kTypedRtf);
    tessel::frame::RtfBackSteps steps;
    steps.codePage = 932;
    std::string stepPath;
    steps.outputStep = [&](const std::string& output, tessel::frame::ErrorLog&) {
        stepPath = output;
        return 0;
    };
    EXPECT_EQ(tessel::frame::readRtfWriteText(path.c_str(), 515, ".htm", steps), 0);
    EXPECT_EQ(stepPath, dir.file("t.htm"));
    EXPECT_EQ(readFile(dir.file("t.htm")).substr(0, 60),
              std::string("&#321;&#243;d&#378; \x84\x50\x84\x82\x84\x79\x84\x72\x84\x75\x84\x84 "
                          "\x93\xFA\x96\x7B\r\nin<br>advance, two  spaces")
                  .substr(0, 60));
    // A failing output step makes the job report errors; output and log stay.
    steps.codePage = 1250;
    steps.outputStep = [](const std::string&, tessel::frame::ErrorLog&) { return -2208; };
    EXPECT_EQ(tessel::frame::readRtfWriteText(path.c_str(), 515, ".html", steps), -113);
    EXPECT_EQ(readFile(dir.file("t.html")).substr(0, 6),
              "\xA3\xF3"
              "d\x9F &");
    // The generic export runs 515 in code page 1252, with its charset step;
    // what 1252 lacks is a character reference, so nothing needs a message.
    EXPECT_EQ(funciReadRTFWriteTextParser(path.c_str(), 515, ".x"), 0);
    EXPECT_NE(readFile(dir.file("t.x")).find("CHARSET=iso-8859-1"), std::string::npos);
    EXPECT_NE(readFile(dir.file("t.x"))
                  .find("&#321;\xF3"
                        "d&#378;"),
              std::string::npos);
}

const fs::path kCorpus = fs::path(TESSEL_CORPUS_DIR) / "rtf";

TEST(RtfBackCharacters, PolishWordDocument) {
    fs::path source = kCorpus / "word-cp1250-polish.rtf";
    if (!fs::exists(source)) GTEST_SKIP() << "corpus not available: " << source;
    TempDir dir;
    std::string path = dir.write("pl.rtf", readFile(source.string()));
    // Word left one "}" too many: the text is all written, and the log says
    // so (-113).
    EXPECT_EQ(f_iRTF2HTML(path.c_str(), ".htm"), -113);
    std::string html = readFile(dir.file("pl.htm"));
    EXPECT_NE(html.find("Prosz&#281; o zapoznanie si&#281; z poni&#380;sz&#261; klauzul&#261;"),
              std::string::npos)
        << html;
    EXPECT_NE(html.find("przep&#322;ywu"), std::string::npos);
    tessel::frame::RtfBackSteps steps;
    steps.codePage = 1250;
    EXPECT_EQ(tessel::frame::readRtfWriteText(path.c_str(), 515, ".html", steps), -113);
    std::string multilingual = readFile(dir.file("pl.html"));
    EXPECT_NE(multilingual.find("Prosz\xEA o zapoznanie si\xEA z poni\xBFsz\xB9 klauzul\xB9"),
              std::string::npos);
    EXPECT_EQ(multilingual.find("&#"), std::string::npos) << "1250 holds every letter";
}

}  // namespace
