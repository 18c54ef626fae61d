// The Ventura mark-up jobs end to end, versions 5 to 7 and version 4: RTF and
// log bytes for paragraph tags, codes, tables and line joining, the message
// box of a parser that cannot be built, bad input, and the round trip.
#include "dtp/ventura_to_rtf.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "dtp/converter_test_support.h"
#include "platform/message_box.h"
#include "tessel_cat.h"

namespace tessel::dtp {
namespace {

using test::converterDocument;
using test::converterLog;
using test::crlf;
using test::externalRun;
using test::internalRun;

enum class Version { Ventura4, Ventura567 };

std::string versionName(const ::testing::TestParamInfo<Version>& info) {
    return info.param == Version::Ventura4 ? "Ventura4" : "Ventura567";
}

class VenturaToRtf : public ::testing::TestWithParam<Version> {
  protected:
    void SetUp() override {
        bool v4 = GetParam() == Version::Ventura4;
        if (!test::grammarTablesBuiltIn(v4 ? "Ventura4LexTable" : "VenturaLexTable",
                                        v4 ? "Ventura4YaccTable" : "VenturaYaccTable")) {
            GTEST_SKIP() << "the Ventura grammar tables are not built in";
        }
    }
    bool ventura4() const { return GetParam() == Version::Ventura4; }
    // Writes the input; the outputs of an earlier case are removed.
    std::string input(std::string_view bytes, std::string_view name = "doc.txt") {
        for (const char* output : {"doc.RTF", "doc.err"})
            std::filesystem::remove(dir_.file(output));
        path_ = dir_.write(name, bytes);
        return path_;
    }
    int convert() const {
        return ventura4() ? f_iVentura4toRTF(path_.c_str()) : f_iVentura567toRTF(path_.c_str());
    }
    std::string rtf() const { return test::readFile(dir_.file("doc.RTF")); }
    std::string log() const { return test::withoutDate(test::readFile(dir_.file("doc.err"))); }

    test::TempDir dir_;
    std::string path_;
};

INSTANTIATE_TEST_SUITE_P(BothVersions, VenturaToRtf,
                         ::testing::Values(Version::Ventura4, Version::Ventura567), versionName);

TEST_P(VenturaToRtf, ParagraphTagsAndCodes) {
    input(
        "@BODY TEXT = Hello <B>bold<D> {x}\t<<y>> <@183>\n"
        "@Z_X=Y = Note<$Fsee <I>page 3> and<$I>, <$Ientry;sub>.\n"
        "<F255<B> nested> <$!comment>\n");
    EXPECT_EQ(convert(), 15);
    EXPECT_EQ(rtf(),
              converterDocument(externalRun("@BODY TEXT = ") + "Hello " + internalRun("<B>") +
                                "bold" + internalRun("<D>") + " \\{x\\}\\tab " + internalRun("<<") +
                                "y" + internalRun(">>") + " " + internalRun("<@183>") + "\n\\par " +
                                externalRun("@Z_X=Y = ") + "Note" + internalRun("<$F") + "see " +
                                internalRun("<I>") + "page 3" + internalRun(">") + " and" +
                                internalRun("<$I>") + ", " + internalRun("<$I") + "entry;sub" +
                                internalRun(">") + ".\n\\par " + internalRun("<F255<B> nested>") +
                                " " + externalRun("<$!comment>") + "\n\\par "));
    EXPECT_EQ(dir_.listing(), "doc.RTF doc.txt") << "no log is left";
}

// A code nested in a code was marked when it was reduced; the outer code
// takes it back, so that the whole code is one run, at any depth.
TEST_P(VenturaToRtf, NestedCodesAreOneRunAtAnyDepth) {
    std::string deep;
    for (int i = 0; i < 20000; ++i) deep += "<a";
    for (int i = 0; i < 20000; ++i) deep += " x>";
    input("@BODY = " + deep + " text <$Fnote <B>bold>\n");
    EXPECT_EQ(convert(), 5);
    EXPECT_EQ(rtf(), converterDocument(externalRun("@BODY = ") + internalRun(deep) + " text " +
                                       internalRun("<$F") + "note " + internalRun("<B>") + "bold" +
                                       internalRun(">") + "\n\\par "));
}

// Enough codes that the RTF is written while the file is parsed; the codes
// nested in a deep code at the end are taken back after that, and a code
// never closed leaves no RTF however much was written by then.
TEST_P(VenturaToRtf, LongFileIsWrittenWhileItIsParsed) {
    std::string text;
    std::string body;
    for (int i = 0; i < 1000; ++i) {
        text += "@P = <B>x<D>\n";
        body += externalRun("@P = ") + internalRun("<B>") + "x" + internalRun("<D>") + "\n\\par ";
    }
    std::string code;
    for (int i = 0; i < 1000; ++i) code += "<a";
    for (int i = 0; i < 1000; ++i) code += " x>";
    input(text + "@P = " + code + "\n");
    EXPECT_EQ(convert(), 3002);
    EXPECT_EQ(rtf(),
              converterDocument(body + externalRun("@P = ") + internalRun(code) + "\n\\par "));

    input(text + "@P = <F255 y\n");
    EXPECT_EQ(convert(), -1);
    EXPECT_EQ(dir_.listing(), "doc.err doc.txt");
}

TEST_P(VenturaToRtf, TablesMarkTheirStructure) {
    if (ventura4()) {
        input(
            "@Z_TBL_BEG = COLUMNS(2), DIMENSION(IN)\n\n"
            "@Z_TBL_HEAD = TABLE HEADING, TABLE HEADING\n\n"
            "Dish, Price\n\n"
            "@Z_TBL_BODY = TABLE TEXT, TABLE TEXT\n\n"
            "Soup,,<B>hot<D>, WIDTH(2)\n\n"
            "@Z_TBL_END = \n\nafter\n");
        EXPECT_EQ(convert(), 10);
        EXPECT_EQ(rtf(),
                  converterDocument(
                      externalRun("@Z_TBL_BEG = COLUMNS(2), DIMENSION(IN)\n\\par \n\\par ") +
                      externalRun("@Z_TBL_HEAD = TABLE HEADING, TABLE HEADING\n\\par \n\\par ") +
                      "Dish" + externalRun(", ") + "Price\n\\par \n\\par " +
                      externalRun("@Z_TBL_BODY = TABLE TEXT, TABLE TEXT\n\\par \n\\par ") + "Soup" +
                      internalRun(",,") + internalRun("<B>") + "hot" + internalRun("<D>") +
                      externalRun(", ") + externalRun("WIDTH(2)") + "\n\\par \n\\par " +
                      externalRun("@Z_TBL_END = ") + "\n\\par \n\\par after\n\\par "));
    } else {
        input(
            "@Z_TBL_BEG = VERSION(2), COLUMNS(2)\n"
            "@Z_TBL_HEAD = TABLE HEADING, TABLE HEADING\n"
            "Dish, Price\n"
            "@Z_TBL_BODY = TABLE TEXT, TABLE TEXT\n"
            "Soup,,<B>hot<D>\n"
            "@Z_TBL_CELL_BEG = a, b <I>c<D>\n"
            "@Z_TBL_CELL_END = \n"
            "@Z_TBL_END = \nafter\n");
        EXPECT_EQ(convert(), 12);
        EXPECT_EQ(rtf(), converterDocument(
                             externalRun("@Z_TBL_BEG = VERSION(2), COLUMNS(2)") + "\n\\par " +
                             externalRun("@Z_TBL_HEAD = TABLE HEADING, TABLE HEADING") +
                             "\n\\par Dish" + externalRun(", ") + "Price\n\\par " +
                             externalRun("@Z_TBL_BODY = TABLE TEXT, TABLE TEXT") + "\n\\par Soup" +
                             internalRun(",,") + internalRun("<B>") + "hot" + internalRun("<D>") +
                             "\n\\par " + externalRun("@Z_TBL_CELL_BEG = ") + "a, b " +
                             internalRun("<I>") + "c" + internalRun("<D>") + "\n\\par " +
                             externalRun("@Z_TBL_CELL_END = ") + "\n\\par " +
                             externalRun("@Z_TBL_END = ") + "\n\\par after\n\\par "));
    }
}

// Version 4 joins single line breaks between running words with a blank;
// versions 5 to 7 keep every line break. Empty lines stay in both.
TEST_P(VenturaToRtf, LineJoiningOnlyForVersion4) {
    input("@BODY = one\ntwo  \n  three\n\n@BODY = four\n<B>five\n");
    EXPECT_EQ(convert(), 3);
    std::string body = ventura4() ? "one two three\n\\par \n\\par "
                                  : "one\n\\par two  \n\\par   three\n\\par \n\\par ";
    EXPECT_EQ(rtf(), converterDocument(externalRun("@BODY = ") + body + externalRun("@BODY = ") +
                                       "four\n\\par " + internalRun("<B>") + "five\n\\par "));
}

TEST_P(VenturaToRtf, ParserThatCannotBeBuiltIsShown) {
    std::string prefix = ventura4() ? "Error when creating Ventura 4 parser: "
                                    : "Error when creating Ventura parser: ";
    platform::MessageBoxCapture shown;
    input("");
    EXPECT_EQ(convert(), -1);
    path_ = dir_.file("missing.txt");
    EXPECT_EQ(convert(), -1);
    ASSERT_EQ(shown.texts().size(), 2u);
    EXPECT_EQ(shown.texts()[0], prefix + "SSLex0102e: Invalid file length or read error, " +
                                    dir_.file("doc.txt") + ", 0\n");
    EXPECT_EQ(shown.texts()[1], prefix + "SSLex0101e: Error opening file, " + path_ + ", 2\n");
    EXPECT_EQ(dir_.listing(), "doc.txt");
}

TEST_P(VenturaToRtf, FilesThatAreNotOursStayUntouched) {
    input("@BODY = <B>x\n");
    test::writeFile(dir_.file("doc.rtf"), "old");
    EXPECT_EQ(convert(), -115);
    EXPECT_EQ(test::readFile(dir_.file("doc.rtf")), "old");
    EXPECT_EQ(dir_.listing(), "doc.rtf doc.txt") << "nothing parsed, no log";

    input("@BODY = <B>x\n", "notes.err");
    EXPECT_EQ(convert(), -904) << "the log would truncate the input";
    EXPECT_EQ(test::readFile(path_), "@BODY = <B>x\n");

    EXPECT_EQ(f_iVentura4toRTF(nullptr), -101);
    EXPECT_EQ(f_iVentura567toRTF(nullptr), -101);
}

TEST_P(VenturaToRtf, SyntaxErrorsAreLogged) {
    // A code inside an argument after its text: recovery resumes at the next
    // code.
    input("@BODY = a<$Fb <I>c<D>d> <B>e\n");
    EXPECT_EQ(convert(), -113);
    std::string expected = ventura4() ? "Expected >, or text in tag" : "Expected >, or TAGTEXT";
    EXPECT_EQ(log(), converterLog(path_,
                                  "\n[1]  Unexpected text: \"<\". " + expected +
                                      "\n-  \n"
                                      "\n[2]  Unexpected text: \"d\". Expected internal tag with "
                                      "argument, external tag, internal tag, @Z_TBL_BEG = , <, or "
                                      "eof\n-  \n",
                                  4));
    // The codes the parser skipped while recovering stay text.
    EXPECT_EQ(rtf(),
              converterDocument(externalRun("@BODY = ") + "a<$Fb " + internalRun("<I>") + "c" +
                                internalRun("<D>") + "d> " + internalRun("<B>") + "e\n\\par "));

    // An unclosed code at the end of the file.
    input("@BODY = text > more <B\n");
    EXPECT_EQ(convert(), -1);
    std::string inTag = ventura4() ? "text in tag" : "TAGTEXT";
    EXPECT_EQ(log(), converterLog(path_,
                                  "\n[1]  Unexpected text: \"eof\". Expected >, " + inTag +
                                      ", internal tag with argument, external tag, internal "
                                      "tag, or <\nFailed to recover!\n\n-  \n"
                                      "\n[2]  Parse Error: SSYacc0103e: Attempted read past eof\n"
                                      "Parsing not completed!\n\n",
                                  -1));
    EXPECT_EQ(dir_.listing(), "doc.err doc.txt");
}

TEST_P(VenturaToRtf, BadBytesAndLineEndsGetACodeAndNoStrayFile) {
    // NUL bytes are text.
    input(std::string("@BODY = o\0ne <B>x\n", 18));
    EXPECT_EQ(convert(), 2);
    EXPECT_EQ(rtf(), converterDocument(externalRun("@BODY = ") + std::string("o\0ne ", 5) +
                                       internalRun("<B>") + "x\n\\par "));

    // Lone CR line ends: the lexer reads one line, the writer several; the
    // writer stops at the first position it cannot reach.
    input("@BODY = one\rtwo <B>x\r");
    EXPECT_EQ(convert(), -2);
    EXPECT_EQ(log(), converterLog(path_, "\n[1]  Line 1 does not contain 17 characters!\n", -1));
    EXPECT_EQ(dir_.listing(), "doc.err doc.txt") << "no partial RTF";

    // One line of megabytes.
    input("@BODY = " + std::string(3 << 20, 'x') + "<B>\n");
    EXPECT_EQ(convert(), 2);
    EXPECT_EQ(dir_.listing(), "doc.RTF doc.txt");
}

// Marking up the examples and converting them back gives the source again
// except where a rule changes it:
// - line joining (version 4): single line breaks inside paragraphs of running
//   words are blanks;
// - empty paragraphs left out (RTF to text for versions 5 and later): the
//   empty lines between paragraphs are gone.
TEST_P(VenturaToRtf, ExamplesSurviveTheRoundTripUpToTheRules) {
    std::string original =
        test::example(ventura4() ? "ventura/ventura4_sample.txt" : "ventura/ventura5_sample.txt");
    input(original);
    ASSERT_GT(convert(), 0);
    std::string rtfName = dir_.file("doc.RTF");
    int back = ventura4() ? f_iVentura4RTF2Text(rtfName.c_str(), ".back")
                          : f_iRTF2Text(rtfName.c_str(), ".back");
    ASSERT_GE(back, 0);
    std::string expected = original;
    if (ventura4()) {
        for (const char* wrapped :
             {"seasons. This\r\nparagraph", "it, and\r\nthe converter", "run with\r\nits nested",
              "is a\r\ncharacter", "keeps\r\nits text", "an\r\nargument", "ahead\r\nfor"}) {
            std::string joined = test::replaceAll(wrapped, "\r\n", " ");
            ASSERT_NE(expected.find(wrapped), std::string::npos) << wrapped;
            expected = test::replaceAll(expected, wrapped, joined);
        }
    } else {
        expected = test::replaceAll(expected, "\r\n\r\n", "\r\n");
    }
    EXPECT_EQ(test::readFile(dir_.file("doc.back")), expected);
}

// Ventura files declare no encoding: one the caller names is read, letters
// in tags too, and wrapped Ventura 4 lines are still joined across the
// letters 1252 lacks as across its own bytes (that is, not beside them).
TEST_P(VenturaToRtf, TextInTheEncodingTheCallerNames) {
    input("@NAG\xC5\x81\xC3\x93WEK = \xC5\xBB\xC3\xB3\xC5\x82w\nma <$Fkot \xC4\x99> x\n\xC4\x87\n");
    ASSERT_EQ(f_iSetSourceEncoding("UTF-8"), 0);
    const int runs = convert();
    f_iSetSourceEncoding(nullptr);
    EXPECT_EQ(runs, 3);
    const std::string lineBreak = ventura4() ? " " : "\n\\par ";
    EXPECT_EQ(rtf(),
              converterDocument(externalRun("@NAG\\u321?\xD3WEK = ") + "\\u379?\xF3\\u322?w" +
                                lineBreak + "ma " + internalRun("<$F") + "kot \\u281?" +
                                internalRun(">") + " x\n\\par \\u263?\n\\par "));
}

// A UTF-8 byte-order mark is no text: it is an external run of its own
// before the paragraph tag, and the file comes back with it byte for byte.
// A byte that is not UTF-8 in the file is kept and comes back too, and the
// log quotes its line and names the encoding, since nothing guesses it.
TEST_P(VenturaToRtf, ByteOrderMarkIsProtectedAndStrayBytesAreLogged) {
    const std::string marked = "\xEF\xBB\xBF@BODY = Caf\xC3\xA9\n";
    input(marked);
    EXPECT_EQ(convert(), 2);
    EXPECT_EQ(rtf(), converterDocument(externalRun("\\u-257?") + externalRun("@BODY = ") +
                                       "Caf\xE9\n\\par "));
    std::string rtfName = dir_.file("doc.RTF");
    int back = ventura4() ? f_iVentura4RTF2Text(rtfName.c_str(), ".back")
                          : f_iRTF2Text(rtfName.c_str(), ".back");
    ASSERT_GE(back, 0);
    EXPECT_EQ(test::readFile(dir_.file("doc.back")), test::crlf(marked));

    const std::string stray = "\xEF\xBB\xBF@BODY = ok\n@BODY = ab\xFF\xC3(\n";
    input(stray);
    EXPECT_EQ(convert(), -113) << "the RTF is written and the log kept";
    EXPECT_NE(rtf().find("ab\\u-3841?\\u-3901?("), std::string::npos);
    const std::string logged = log();
    EXPECT_NE(logged.find("[1]  Bytes that the encoding the file is read in gives no character "
                          "were found in the following text segment:\r\n-----"),
              std::string::npos)
        << logged;
    EXPECT_NE(logged.find("-\r\n@BODY = ab\xFF\xC3(\r\n-----"), std::string::npos) << logged;
    EXPECT_NE(logged.find("The file is read as UTF-8."), std::string::npos) << logged;
    EXPECT_EQ(logged.find("[2]"), std::string::npos) << "one entry, for the one line: " << logged;
    back = ventura4() ? f_iVentura4RTF2Text(rtfName.c_str(), ".stray")
                      : f_iRTF2Text(rtfName.c_str(), ".stray");
    ASSERT_GE(back, 0);
    EXPECT_EQ(test::readFile(dir_.file("doc.stray")), test::crlf(stray));
}

}  // namespace
}  // namespace tessel::dtp
