// The PageMaker mark-up job end to end: header test, working copy, RTF bytes,
// logs of syntax errors, existing files, Macintosh files.
#include "dtp/page_maker_to_rtf.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "dtp/converter_test_support.h"
#include "platform/resources.h"
#include "resources/markup_framework_texts.h"
#include "tessel_cat.h"

namespace tessel::dtp {
namespace {

using test::crlf;
using test::externalRun;
using test::internalRun;
using test::replaceAll;

// Conversions need the grammar tables built into the library.
#define REQUIRE_PAGEMAKER_TABLES() \
    if (!tablesBuiltIn()) GTEST_SKIP() << "the PageMaker grammar tables are not built in"

class PageMakerToRtf : public ::testing::Test {
  protected:
    std::string input(std::string_view bytes, std::string_view name = "doc.txt") {
        path_ = dir_.write(name, bytes);
        return path_;
    }
    int convert() { return f_iPageMaker2RTF(path_.c_str()); }
    std::string rtf() const { return test::readFile(dir_.file("doc.RTF")); }
    // The RTF a conversion should write for `body` (LF line ends).
    static std::string document(std::string_view body) { return test::converterDocument(body); }
    static bool tablesBuiltIn() {
        return test::grammarTablesBuiltIn("PageMakerLexTable", "PageMakerYaccTable");
    }

    test::TempDir dir_;
    std::string path_;
};

TEST_F(PageMakerToRtf, HeaderTellsMacintoshFiles) {
    EXPECT_TRUE(isMacintoshPageMaker(input("<PMTags1.0 mac>\rtext\r")));
    EXPECT_TRUE(isMacintoshPageMaker(input("<PMTags1.0 MaC><@x:>\n")));
    EXPECT_FALSE(isMacintoshPageMaker(input("<PMTags1.0 mac >\n")));
    EXPECT_FALSE(isMacintoshPageMaker(input("<PMTags1.0 win>\n")));
    EXPECT_FALSE(isMacintoshPageMaker(input("text <PMTags1.0 mac>\n")));
    EXPECT_FALSE(isMacintoshPageMaker(input("<PMTags")));
    EXPECT_FALSE(isMacintoshPageMaker(dir_.file("missing.txt")));
}

TEST_F(PageMakerToRtf, WorkingCopyNeverOutlivesTheJob) {
    // An empty file: the parser cannot be built on an empty working copy.
    input("");
    EXPECT_EQ(convert(), -1);
    EXPECT_EQ(dir_.listing(), "doc.txt");
}

TEST_F(PageMakerToRtf, FilesThatAreNotOursStayUntouched) {
    input("<PMTags1.0 win>\n");
    test::writeFile(dir_.file("doc.tmp"), "someone's file");
    EXPECT_EQ(convert(), -115);
    EXPECT_EQ(test::readFile(dir_.file("doc.tmp")), "someone's file");
    EXPECT_EQ(dir_.listing(), "doc.tmp doc.txt");

    // An input named like the log would be truncated by it.
    input("<PMTags1.0 win>\n", "notes.err");
    EXPECT_EQ(convert(), -904);
    EXPECT_EQ(test::readFile(path_), "<PMTags1.0 win>\n");

    EXPECT_EQ(f_iPageMaker2RTF(nullptr), -101);
    EXPECT_EQ(f_iPageMaker2RTF(dir_.file("missing.txt").c_str()), -101);
    EXPECT_EQ(f_iPageMaker2RTF(dir_.path().string().c_str()), -101);
}

TEST_F(PageMakerToRtf, TagsBecomeProtectedRuns) {
    REQUIRE_PAGEMAKER_TABLES();
    input("<PMTags1.0 win>\n<@Body:>Hello <B>bold<B> \\<x\t{y}\n");
    EXPECT_EQ(convert(), 5);
    EXPECT_EQ(rtf(),
              document(externalRun("<PMTags1.0 win>") + "\n\\par " + externalRun("<@Body:>") +
                       "Hello " + internalRun("<B>") + "bold" + internalRun("<B>") + " " +
                       internalRun("\\\\<") + "x\\tab \\{y\\}\n\\par "));
    EXPECT_EQ(dir_.listing(), "doc.RTF doc.txt") << "no working copy and no log are left";
}

TEST_F(PageMakerToRtf, FileWithoutHeaderIsAllText) {
    REQUIRE_PAGEMAKER_TABLES();
    input("plain <B> text\n\x93quoted\x94\n");
    EXPECT_EQ(convert(), 0);
    EXPECT_EQ(rtf(), document("plain <B> text\n\\par \\ldblquote quoted\\rdblquote \n\\par "));
}

TEST_F(PageMakerToRtf, StyleSheetsIndexEntriesAndWrappedTags) {
    REQUIRE_PAGEMAKER_TABLES();
    input(
        "<PMTags1.0 win><@Head=<f\"Arial\"><s12>>\n"
        "Word<*INDEX \"One\" \"Two\">, <f\"Arial\"\n s10>x<*INDEX> \\@\xA0<C-COLORTABLE (\"Black\" "
        "1)>\n");
    EXPECT_EQ(convert(), 9);
    EXPECT_EQ(rtf(),
              document(externalRun("<PMTags1.0 win>") + externalRun("<@Head=<f\"Arial\"><s12>>") +
                       "\n\\par Word" + internalRun("<*INDEX \"") + "One" + internalRun("\" \"") +
                       "Two" + internalRun("\">") + ", " + internalRun("<f\"Arial\" s10>") + "x" +
                       internalRun("<*INDEX>") + " " + internalRun("\\\\@") + "\\~" +
                       externalRun("<C-COLORTABLE (\"Black\" 1)>") + "\n\\par "));
}

TEST_F(PageMakerToRtf, MacintoshTextIsConvertedButTagsAreNot) {
    REQUIRE_PAGEMAKER_TABLES();
    input("<PMTags1.0 MAC>\rCaf\x8E \xB0<f\"\x8E\xB0\">\r");
    EXPECT_EQ(convert(), 2);
    EXPECT_EQ(rtf(),
              document(externalRun("<PMTags1.0 MAC>") + "\n\\par Caf\xE9 " +
                       internalRun("<\\\\#176>") + internalRun("<f\"\x8E\xB0\">") + "\n\\par "));
    // A blank before ">": the lexer takes the header, but the file is Windows text.
    input("<PMTags1.0 mac ><B>Caf\x8E\r", "blank.txt");
    EXPECT_EQ(convert(), 2);
    EXPECT_EQ(test::readFile(dir_.file("blank.RTF")),
              document(externalRun("<PMTags1.0 mac >") + internalRun("<B>") + "Caf\x8E\n\\par "));
}

TEST_F(PageMakerToRtf, RecoveredSyntaxErrorKeepsTheLogAndTheRtf) {
    REQUIRE_PAGEMAKER_TABLES();
    input("<PMTags1.0 win>\n<> text <B>x\n");
    EXPECT_EQ(convert(), -113);
    EXPECT_EQ(rtf(), document(externalRun("<PMTags1.0 win>") + "\n\\par <> text " +
                              internalRun("<B>") + "x\n\\par "));
    std::string log = test::withoutDate(test::readFile(dir_.file("doc.err")));
    EXPECT_EQ(
        log,
        crlf("\t\tError Log File from Tessel CAT Markup Parser\n\nDate:\t<date>\nFile:\t" + path_ +
             "\n\n\n[1]  Unexpected text: \">\". Expected external keyword for tag, "
             "or word in tag\n-  \n"
             "\n\n-------------------------------------------------\n\t2 changes made.\n"
             "-------------------------------------------------\n"));
    EXPECT_EQ(dir_.listing(), "doc.RTF doc.err doc.txt");
}

TEST_F(PageMakerToRtf, UnrecoverableSyntaxErrorWritesNoRtf) {
    REQUIRE_PAGEMAKER_TABLES();
    input("<PMTags1.0 win>\n");
    EXPECT_EQ(convert(), -1);
    std::string log = test::withoutDate(test::readFile(dir_.file("doc.err")));
    EXPECT_EQ(
        log,
        crlf("\t\tError Log File from Tessel CAT Markup Parser\n\nDate:\t<date>\nFile:\t" + path_ +
             "\n\n\n[1]  Unexpected text: \"eof\". Expected <*INDEX, \\<, \\>, \\@, or "
             "<\nFailed to recover!\n\n-  \n"
             "\n[2]  Parse Error: SSYacc0103e: Attempted read past eof\n"
             "Parsing not completed!\n\n"));
    EXPECT_EQ(dir_.listing(), "doc.err doc.txt");
}

// Enough tags that the RTF is written while the file is parsed: the header,
// reduced only with the whole body, still comes first, and a parse cut short
// near the end leaves no RTF however much was written by then.
TEST_F(PageMakerToRtf, LongFileIsWrittenWhileItIsParsed) {
    REQUIRE_PAGEMAKER_TABLES();
    std::string text = "<PMTags1.0 win>\n";
    std::string body = externalRun("<PMTags1.0 win>") + "\n\\par ";
    for (int i = 0; i < 3000; ++i) {
        text += "<B>word " + std::to_string(i) + "\n";
        body += internalRun("<B>") + "word " + std::to_string(i) + "\n\\par ";
    }
    input(text);
    EXPECT_EQ(convert(), 3001);
    EXPECT_EQ(rtf(), document(body));
    EXPECT_EQ(dir_.listing(), "doc.RTF doc.txt");

    std::filesystem::remove(dir_.file("doc.RTF"));
    input(text + "<*INDEX");
    EXPECT_EQ(convert(), -1);
    EXPECT_EQ(dir_.listing(), "doc.err doc.txt");
    std::string log = test::withoutDate(test::readFile(dir_.file("doc.err")));
    EXPECT_NE(log.find(crlf("\n[2]  Parse Error: SSYacc0103e: Attempted read past eof\n"
                            "Parsing not completed!\n\n")),
              std::string::npos);
    EXPECT_EQ(log.find("[3]"), std::string::npos) << "nothing of the writing is logged";
}

TEST_F(PageMakerToRtf, ExistingOutputInAnyCaseIsRefused) {
    REQUIRE_PAGEMAKER_TABLES();
    input("<PMTags1.0 win>\n<B>x\n");
    test::writeFile(dir_.file("doc.rtf"), "old");
    EXPECT_EQ(convert(), -115);
    EXPECT_EQ(test::readFile(dir_.file("doc.rtf")), "old");
    EXPECT_EQ(dir_.listing(), "doc.rtf doc.txt") << "no log, no working copy";
}

TEST_F(PageMakerToRtf, BareRelativeNameWorks) {
    REQUIRE_PAGEMAKER_TABLES();
    input("<PMTags1.0 win>\n<B>x\n");
    std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    int result = f_iPageMaker2RTF("doc.txt");
    std::filesystem::current_path(cwd);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(dir_.listing(), "doc.RTF doc.txt");
}

std::string example(std::string_view name) {
    return test::example("pagemaker/" + std::string(name));
}

// Marking up the examples and converting them back gives the source again,
// except where the rules change it: line ends inside an internal tag are
// dropped, Windows files get CR LF line ends, and a Macintosh byte without a
// Windows counterpart comes back as its literal character tag.
TEST_F(PageMakerToRtf, ExamplesSurviveTheRoundTripUpToTheRules) {
    REQUIRE_PAGEMAKER_TABLES();
    std::string windows = example("windows_sample.txt");
    input(windows);
    ASSERT_GT(convert(), 0);
    ASSERT_GE(f_iRTF2PageMaker(dir_.file("doc.RTF").c_str(), ".pm"), 0);
    EXPECT_EQ(test::readFile(dir_.file("doc.pm")),
              crlf(replaceAll(windows, "<f\"Arial\"\n s10>", "<f\"Arial\" s10>")));

    std::string macintosh = example("macintosh_sample.txt");
    input(macintosh, "mac.txt");
    ASSERT_GT(convert(), 0);
    ASSERT_GE(f_iRTF2PageMaker(dir_.file("mac.RTF").c_str(), ".pm"), 0);
    std::string expected = replaceAll(macintosh, "<f\"Geneva\"\r s9>", "<f\"Geneva\" s9>");
    expected = replaceAll(expected, "\xB0", "<\\#176>");
    EXPECT_EQ(test::readFile(dir_.file("mac.pm")), expected);
}

TEST_F(PageMakerToRtf, CorpusFilesConvert) {
    REQUIRE_PAGEMAKER_TABLES();
    std::filesystem::path corpus = std::filesystem::path(TESSEL_CORPUS_DIR) / "pagemaker";
    if (!std::filesystem::exists(corpus)) GTEST_SKIP() << "corpus not found at " << corpus;
    std::string sample = test::readFile((corpus / "txt2tags-sample-pmtags-win.pm6").string());
    input(sample, "sample.pm6");
    int result = convert();
    EXPECT_GT(result, 50);
    std::string written = test::readFile(dir_.file("sample.RTF"));
    EXPECT_EQ(written.compare(0, 20, crlf(resources::kConverterRtfHeader).substr(0, 20)), 0);
    EXPECT_NE(written.find(externalRun("<@Normal:>")), std::string::npos);
    EXPECT_EQ(dir_.listing(), "sample.RTF sample.pm6");

    std::string fragment = test::readFile((corpus / "txt2tags-fragment-no-header.pm6").string());
    input(fragment, "fragment.pm6");
    EXPECT_EQ(convert(), 0) << "no header: everything is text";
}

// Gives back the library's default encodings when a test ends.
struct EncodingChoiceReset {
    ~EncodingChoiceReset() {
        f_iSetSourceEncoding(nullptr);
        f_iSetTargetCodePage(0);
    }
};

// A Polish file in Windows 1250 read in the encoding the caller names: its
// letters that 1252 lacks become Unicode escapes; written back in 1250 it
// is byte for byte the source. Without the choices it is 1252 as always,
// and the letters 1252 lacks come back as literal character tags.
TEST_F(PageMakerToRtf, SourceEncodingAndTargetCodePageChosenThroughTheLibrary) {
    REQUIRE_PAGEMAKER_TABLES();
    EncodingChoiceReset reset;
    const std::string polish = "<PMTags1.0 win>\n<@Body:>Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9\n";
    input(polish);
    ASSERT_EQ(f_iSetSourceEncoding("windows-1250"), 0);
    EXPECT_EQ(convert(), 2);
    EXPECT_EQ(rtf(),
              document(externalRun("<PMTags1.0 win>") + "\n\\par " + externalRun("<@Body:>") +
                       "Za\\u380?\xF3\\u322?\\u263? g\\u281?\\u347?l\\u261?\n\\par "));
    ASSERT_EQ(f_iSetTargetCodePage(1250), 0);
    ASSERT_GE(f_iRTF2PageMaker(dir_.file("doc.RTF").c_str(), ".back"), 0);
    EXPECT_EQ(test::readFile(dir_.file("doc.back")), test::crlf(polish));

    ASSERT_EQ(f_iSetTargetCodePage(0), 0);
    std::filesystem::remove(dir_.file("doc.back"));
    EXPECT_EQ(f_iRTF2PageMaker(dir_.file("doc.RTF").c_str(), ".back"), -113);
    EXPECT_EQ(test::readFile(dir_.file("doc.back")),
              test::crlf("<PMTags1.0 win>\n<@Body:>Za<\\#380>\xF3<\\#322><\\#263> "
                         "g<\\#281><\\#347>l<\\#261>\n"));

    ASSERT_EQ(f_iSetSourceEncoding(""), 0);
    std::filesystem::remove(dir_.file("doc.RTF"));
    EXPECT_EQ(convert(), 2);
    EXPECT_EQ(rtf(),
              document(externalRun("<PMTags1.0 win>") + "\n\\par " + externalRun("<@Body:>") +
                       "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9\n\\par "));
}

// A UTF-8 byte-order mark makes the file UTF-8 whatever the caller chose;
// it is no text but an external run of its own, and a UTF-8 target keeps
// the mark and the letters.
TEST_F(PageMakerToRtf, ByteOrderMarkDecidesBeforeTheChoice) {
    REQUIRE_PAGEMAKER_TABLES();
    EncodingChoiceReset reset;
    const std::string marked = "\xEF\xBB\xBF<PMTags1.0 win>\n<@Body:>k\xC5\x82\n";
    input(marked);
    ASSERT_EQ(f_iSetSourceEncoding("windows-1251"), 0);
    EXPECT_EQ(convert(), 3);
    EXPECT_EQ(rtf(), document(externalRun("\\u-257?") + externalRun("<PMTags1.0 win>") +
                              "\n\\par " + externalRun("<@Body:>") + "k\\u322?\n\\par "));
    ASSERT_GE(f_iRTF2PageMaker(dir_.file("doc.RTF").c_str(), ".back"), 0);
    EXPECT_EQ(test::readFile(dir_.file("doc.back")), test::crlf(marked));
}

}  // namespace
}  // namespace tessel::dtp
