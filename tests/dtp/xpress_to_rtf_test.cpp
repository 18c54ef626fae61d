// The QuarkXPress mark-up job end to end: RTF and log bytes, the 254-character
// rule for "<$>", Macintosh files, the working copy and its line end, files
// that are not the job's, the shared corpus, and the round trip.
#include "dtp/xpress_to_rtf.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "dtp/converter_test_support.h"
#include "platform/message_box.h"
#include "platform/utf16.h"
#include "tessel_cat.h"

namespace tessel::dtp {
namespace {

using test::converterDocument;
using test::converterLog;
using test::crlf;
using test::externalRun;
using test::internalRun;
using test::replaceAll;

#define REQUIRE_XPRESS_TABLES()                                           \
    if (!test::grammarTablesBuiltIn("XPressLexTable", "XPressYaccTable")) \
    GTEST_SKIP() << "the QuarkXPress grammar tables are not built in"

const std::string kHeader = "<v1.70><e1>\n";

class XPressToRtf : public ::testing::Test {
  protected:
    // Writes the input; the outputs of an earlier case are removed.
    std::string input(std::string_view bytes, std::string_view name = "doc.xtg") {
        for (const char* output : {"doc.RTF", "doc.err"})
            std::filesystem::remove(dir_.file(output));
        path_ = dir_.write(name, bytes);
        return path_;
    }
    int convert() { return f_iXPress2RTF(path_.c_str()); }
    std::string rtf() const { return test::readFile(dir_.file("doc.RTF")); }
    std::string log() const { return test::withoutDate(test::readFile(dir_.file("doc.err"))); }

    test::TempDir dir_;
    std::string path_;
};

TEST_F(XPressToRtf, TagsBecomeRunsOfTheirKinds) {
    REQUIRE_XPRESS_TABLES();
    input(kHeader +
          "@Normal=[S\"\",\"Normal\"]<*L*h\"Standard\"Ps100f\"Times\">\n"
          "@Normal:Hello <B>bold<B$> w\xE9rld\t{x}\xA0<$>\n"
          "<*C>Left<\\#183>x<$><f\"Arial\">\n"
          "<$>\n"
          "<Az\"F\"<x>>tail<\\>>\n"
          "@Heading:\n"
          "plain text only\n");
    EXPECT_EQ(convert(), 15);
    EXPECT_EQ(
        rtf(),
        converterDocument(
            externalRun("<v1.70><e1>") + "\n\\par " + externalRun("@Normal=[S\"\",\"Normal\"]") +
            externalRun("<*L*h\"Standard\"Ps100f\"Times\">") + "\n\\par " +
            externalRun("@Normal:") + "Hello " + internalRun("<B>") + "bold" + internalRun("<B$>") +
            " w\xE9rld\\tab \\{x\\}\\~" + internalRun("<$>") + "\n\\par " + externalRun("<*C>") +
            "Left" + internalRun("<\\\\#183>") + "x" + internalRun("<$>") +
            internalRun("<f\"Arial\">") + "\n\\par " + externalRun("<$>") + "\n\\par " +
            internalRun("<Az\"F\"<x>>") + "tail" + internalRun("<\\\\>>") + "\n\\par " +
            externalRun("@Heading:") + "\n\\par plain text only\n\\par "));
    EXPECT_EQ(dir_.listing(), "doc.RTF doc.xtg") << "no working copy and no log are left";
}

// A "<$>" after exactly 254 characters of text since the last tag on its line
// is dropped and leaves no trace; literal character tags count one each.
TEST_F(XPressToRtf, ResetAfterExactly254CharactersIsDropped) {
    REQUIRE_XPRESS_TABLES();
    const std::string a253(253, 'a');
    input(kHeader + a253 + "a<$>joined\n" + a253 + "<$>kept\n" + a253 + "aa<$>kept\n" +
          "<\\#1><\\#2>" + std::string(252, 'b') + "<$>joined\n" + "<B>" + a253 + "a<$>\n" +
          a253.substr(0, 250) + "<I>" + std::string(254, 'c') + "<$>joined\n");
    EXPECT_EQ(convert(), 11) << "dropped tags count as recorded pieces";
    EXPECT_EQ(rtf(),
              converterDocument(externalRun("<v1.70><e1>") + "\n\\par " + a253 + "ajoined\n\\par " +
                                a253 + internalRun("<$>") + "kept\n\\par " + a253 + "aa" +
                                internalRun("<$>") + "kept\n\\par " + internalRun("<\\\\#1>") +
                                internalRun("<\\\\#2>") + std::string(252, 'b') + "joined\n\\par " +
                                internalRun("<B>") + a253 + "a\n\\par " + a253.substr(0, 250) +
                                internalRun("<I>") + std::string(254, 'c') + "joined\n\\par "));
}

TEST_F(XPressToRtf, EncodingTagZeroMarksMacintoshText) {
    REQUIRE_XPRESS_TABLES();
    input("<v1.70><e0>\rCaf\x8E \xB0<f\"\x8E\xB0\">\r");
    EXPECT_EQ(convert(), 2);
    EXPECT_EQ(rtf(), converterDocument(externalRun("<v1.70><e0>") + "\n\\par Caf\xE9 " +
                                       internalRun("<\\\\#176>") + internalRun("<f\"\x8E\xB0\">") +
                                       "\n\\par "));

    // Encoding 1: the same bytes are Windows text.
    input("<v1.70><e1>\rCaf\x8E\r", "win.xtg");
    EXPECT_EQ(convert(), 1);
    EXPECT_EQ(test::readFile(dir_.file("win.RTF")),
              converterDocument(externalRun("<v1.70><e1>") + "\n\\par Caf\x8E\n\\par "));

    // An index line before the header: the encoding tag is the third symbol.
    input("#index\n<v2.0><e0>\n\x8E\n", "indexed.xtg");
    EXPECT_EQ(convert(), 1);
    EXPECT_EQ(test::readFile(dir_.file("indexed.RTF")),
              converterDocument(externalRun("#index\n\\par <v2.0><e0>") + "\n\\par \xE9\n\\par "));
}

TEST(XPressLineEndCheck, OnlyAMissingLineEndIsAdded) {
    test::TempDir dir;
    struct Case {
        std::string_view before;
        std::string_view after;
    };
    for (Case c : {Case{"<B>text", "<B>text\r\n"}, Case{"<B>text\r\n", "<B>text\r\n"},
                   Case{"<B>text\r", "<B>text\r"}, Case{"<B>text\x1A", "<B>text\r\n"},
                   Case{"<B>text\r\n\x1A", "<B>text\r\n\x1A"}, Case{"ab", "ab"}, Case{"", ""}}) {
        std::string path = dir.write("copy.tmp", c.before);
        EXPECT_TRUE(endWithLineEnd(path)) << c.before;
        EXPECT_EQ(test::readFile(path), c.after) << c.before;
    }
    EXPECT_FALSE(endWithLineEnd(dir.file("missing.tmp")));
    EXPECT_FALSE(endWithLineEnd(dir.path().string()));
}

TEST_F(XPressToRtf, LastLineWithoutLineEndStillEndsWithAnEndOfLineToken) {
    REQUIRE_XPRESS_TABLES();
    input(kHeader + "text<B>");
    EXPECT_EQ(convert(), 2);
    EXPECT_EQ(rtf(), converterDocument(externalRun("<v1.70><e1>") + "\n\\par text" +
                                       internalRun("<B>") + "\n\\par "));
    input(kHeader + "<B>text\x1A", "marked.xtg");
    EXPECT_EQ(convert(), 2);
    EXPECT_EQ(test::readFile(path_), kHeader + "<B>text\x1A") << "the input is never changed";
}

TEST_F(XPressToRtf, FilesThatAreNotOursStayUntouched) {
    input(kHeader + "<B>x\n");
    test::writeFile(dir_.file("doc.tmp"), "someone's file");
    EXPECT_EQ(convert(), -115);
    EXPECT_EQ(test::readFile(dir_.file("doc.tmp")), "someone's file");
    EXPECT_EQ(dir_.listing(), "doc.tmp doc.xtg");
    std::filesystem::remove(dir_.file("doc.tmp"));

    // The log another job left beside the input ("doc.ERR" of an HTML or
    // text job) is not the converter's: the working copy's pass leaves it.
    test::writeFile(dir_.file("doc.ERR"), "another job's log");
    EXPECT_GE(convert(), 0);
#ifdef _WIN32
    // Windows names ignore case: "doc.ERR" is the converter's own log
    // "doc.err", rewritten by the run and, with nothing logged, removed.
    EXPECT_FALSE(test::exists(dir_.file("doc.ERR")));
#else
    EXPECT_EQ(test::readFile(dir_.file("doc.ERR")), "another job's log");
    std::filesystem::remove(dir_.file("doc.ERR"));
#endif
    std::filesystem::remove(dir_.file("doc.RTF"));

    test::writeFile(dir_.file("doc.rtf"), "old");
    EXPECT_EQ(convert(), -115);
    EXPECT_EQ(test::readFile(dir_.file("doc.rtf")), "old");
    EXPECT_EQ(dir_.listing(), "doc.rtf doc.xtg") << "no log, no working copy";

    // An input named like the log or like the working copy.
    input(kHeader, "notes.err");
    EXPECT_EQ(convert(), -904);
    EXPECT_EQ(test::readFile(path_), kHeader);
    input(kHeader, "copy.tmp");
    EXPECT_EQ(convert(), -904);
    EXPECT_EQ(test::readFile(path_), kHeader);

    EXPECT_EQ(f_iXPress2RTF(nullptr), -101);
    EXPECT_EQ(f_iXPress2RTF(dir_.file("missing.xtg").c_str()), -101);
    EXPECT_EQ(f_iXPress2RTF(dir_.path().string().c_str()), -101);
}

TEST_F(XPressToRtf, ParserThatCannotBeBuiltIsShownAndItsWorkingCopyRemoved) {
    input("");
    platform::MessageBoxCapture shown;
    EXPECT_EQ(convert(), -1);
    ASSERT_EQ(shown.texts().size(), 1u);
    EXPECT_EQ(shown.texts()[0],
              "Error when creating QuarkXPress parser: SSLex0102e: Invalid file length or read "
              "error, " +
                  dir_.file("doc.tmp") + ", 0\n");
    EXPECT_EQ(dir_.listing(), "doc.xtg");
}

TEST_F(XPressToRtf, ParseErrorsAreLogged) {
    REQUIRE_XPRESS_TABLES();
    // A second index line: recovery resumes at the version tag.
    input("#a\n#b\n" + kHeader + "<B>text\n");
    EXPECT_EQ(convert(), -113);
    EXPECT_EQ(rtf(), converterDocument("#a\n\\par " + externalRun("#b\n\\par <v1.70><e1>") +
                                       "\n\\par " + internalRun("<B>") + "text\n\\par "));
    EXPECT_EQ(
        log(),
        converterLog(path_, "\n[1]  Unexpected text: \"#b\n\". Expected version tag\n-  \n", 2));

    // A header and nothing else: the document needs a line.
    input(kHeader);
    EXPECT_EQ(convert(), -1);
    EXPECT_EQ(log(),
              converterLog(path_,
                           "\n[1]  Unexpected text: \"eof\". Expected litteral character tag "
                           "last on line, litteral character tag, @ or <* tag last on a line, @ "
                           "or <* tag, <$> at end of line, other tag at end of line, other tag, "
                           "text at end of line, or text\nFailed to recover!\n\n-  \n"
                           "\n[2]  Parse Error: SSYacc0103e: Attempted read past eof\n"
                           "Parsing not completed!\n\n",
                           -1));
    EXPECT_EQ(dir_.listing(), "doc.err doc.xtg");

    // Unbalanced angle brackets: no token takes "<<".
    input(kHeader + "text<B\nmore>\n<<x>\n");
    EXPECT_EQ(convert(), -1);
    EXPECT_EQ(log(), converterLog(path_,
                                  "\n[1]  Parse Error: SSLex0105e: Invalid token, Line 4, Offset "
                                  "1, <<\nParsing not completed!\n\n",
                                  -1));
    EXPECT_EQ(dir_.listing(), "doc.err doc.xtg");
}

TEST_F(XPressToRtf, BadBytesAndOddLineEndsGetACodeAndNoStrayFile) {
    REQUIRE_XPRESS_TABLES();
    // NUL bytes are text; lone CR line ends are made CR LF in the working copy.
    input(kHeader + std::string("te\0"
                                "xt<B>\rone\rtwo<$>",
                                19));
    EXPECT_EQ(convert(), 3);
    EXPECT_EQ(rtf(), converterDocument(externalRun("<v1.70><e1>") + "\n\\par " +
                                       std::string("te\0xt", 5) + internalRun("<B>") +
                                       "\n\\par one\n\\par two" + internalRun("<$>") + "\n\\par "));
    // A truncated header is an invalid token (with the line end the working
    // copy got).
    input("<v1.7");
    EXPECT_EQ(convert(), -1);
    EXPECT_EQ(log(), converterLog(path_,
                                  "\n[1]  Parse Error: SSLex0105e: Invalid token, Line 1, Offset "
                                  "1, <v1.7\n\nParsing not completed!\n\n",
                                  -1));
    // One line of megabytes.
    input(kHeader + std::string(3 << 20, 'x') + "<B>\n");
    EXPECT_EQ(convert(), 2);
    EXPECT_EQ(dir_.listing(), "doc.RTF doc.xtg");
}

// The source as it comes back from its RTF without translation: Windows
// text-mode line ends, and a line end after the last line.
std::string comesBackAs(std::string source) {
    source = replaceAll(std::move(source), "\r\n", "\n");
    if (!source.empty() && source.back() != '\n') source += '\n';
    return crlf(source);
}

// The corpus files are version 11 with encoding 9 (UTF-8): they mark up
// without a log, their letters are those of the source (the German style
// names and the typographic quotes are letters of Windows 1252, written as
// its bytes), and they come back byte for byte up to the line ends.
TEST_F(XPressToRtf, CorpusFilesMarkUpAndComeBack) {
    REQUIRE_XPRESS_TABLES();
    std::filesystem::path corpus = std::filesystem::path(TESSEL_CORPUS_DIR) / "quark";
    if (!std::filesystem::exists(corpus)) GTEST_SKIP() << "corpus not found at " << corpus;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (entry.path().extension() != ".xtg") continue;
        ++files;
        std::string original = test::readFile(entry.path().string());
        ASSERT_EQ(original.compare(0, 12, "<v11.10><e9>"), 0) << entry.path();
        input(original);
        EXPECT_GT(convert(), 0) << entry.path();
        EXPECT_EQ(dir_.listing(), "doc.RTF doc.xtg") << entry.path();
        std::string markedUp = rtf();
        EXPECT_EQ(markedUp.find("\xC3"), std::string::npos) << "UTF-8 left raw in " << entry.path();
        EXPECT_EQ(markedUp.find("\xE2\x80"), std::string::npos) << entry.path();
        ASSERT_GE(f_iRTF2XPress(dir_.file("doc.RTF").c_str(), ".back"), 0) << entry.path();
        EXPECT_EQ(test::readFile(dir_.file("doc.back")), comesBackAs(original)) << entry.path();
        std::filesystem::remove(dir_.file("doc.back"));
        if (entry.path().filename().string().find("german") != std::string::npos) {
            EXPECT_NE(markedUp.find(externalRun("@\xDC"
                                                "berschrift 1:")),
                      std::string::npos);
            EXPECT_NE(markedUp.find("Black Gull\\rquote s"), std::string::npos);
        }
    }
    EXPECT_EQ(files, 3);
}

// Letters of a UTF-8 file that Windows 1252 lacks are RTF Unicode escapes
// with a fallback, in text and in tags alike; a letter beyond U+FFFF is a
// surrogate pair of signed numbers; 1252 letters are its bytes as in a 1252
// file. Without translation every byte comes back.
TEST_F(XPressToRtf, Utf8LettersOutside1252AreUnicodeEscapes) {
    REQUIRE_XPRESS_TABLES();
    const std::string source =
        "<v11.10><e9>\n"
        "@Tre\xC5\x9B\xC4\x87:Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 \xE2\x80\x9Cq\xE2\x80\x9D "
        "<f\"\xC5\x81\xC3\xB3"
        "d\xC5\xBA\">\xF0\x9F\x98\x80\xE2\x80\x94\xD0\x96\n";
    input(source);
    EXPECT_EQ(convert(), 3);
    EXPECT_EQ(rtf(), converterDocument(externalRun("<v11.10><e9>") + "\n\\par " +
                                       externalRun("@Tre\\u347?\\u263?:") +
                                       "Za\\u380?\xF3\\u322?\\u263? \\ldblquote q\\rdblquote  " +
                                       internalRun("<f\"\\u321?\xF3"
                                                   "d\\u378?\">") +
                                       "\\u-10179?\\u-8704?\\emdash \\u1046?\n\\par "));
    ASSERT_GE(f_iRTF2XPress(dir_.file("doc.RTF").c_str(), ".back"), 0);
    EXPECT_EQ(test::readFile(dir_.file("doc.back")), crlf(source));
}

// A byte that is not UTF-8 in a UTF-8 file stands for itself: it comes
// back as the byte it was, and the log quotes its line. A UTF-8 byte-order
// mark decides before the encoding tag, is part of the protected header,
// and comes back.
TEST_F(XPressToRtf, StrayBytesAndTheByteOrderMarkComeBack) {
    REQUIRE_XPRESS_TABLES();
    const std::string stray = "<v11.10><e9>\nab\xFF\xC3(\n";
    input(stray);
    EXPECT_EQ(convert(), -113);
    EXPECT_EQ(log(),
              converterLog(path_,
                           "\n[1]  Bytes that the encoding the file is read in gives no "
                           "character were found in the following text segment:\n" +
                               std::string(58, '-') + "\nab\xFF\xC3(\n" + std::string(58, '-') +
                               "\nThe file is read as UTF-8. The bytes are kept as they "
                               "stand and are written back unchanged; check the encoding "
                               "of the file!\n\n",
                           1));
    EXPECT_EQ(rtf(), converterDocument(externalRun("<v11.10><e9>") +
                                       "\n\\par ab\\u-3841?\\u-3901?(\n\\par "));
    ASSERT_GE(f_iRTF2XPress(dir_.file("doc.RTF").c_str(), ".back"), 0);
    EXPECT_EQ(test::readFile(dir_.file("doc.back")), crlf(stray));

    const std::string marked = "\xEF\xBB\xBF<v11.10><e1>\nCaf\xC3\xA9\n";
    input(marked, "marked.xtg");
    EXPECT_GT(f_iXPress2RTF(dir_.file("marked.xtg").c_str()), 0);
    EXPECT_EQ(test::readFile(dir_.file("marked.RTF")),
              converterDocument(externalRun("\\u-257?<v11.10><e1>") + "\n\\par Caf\xE9\n\\par "));
    ASSERT_GE(f_iRTF2XPress(dir_.file("marked.RTF").c_str(), ".back"), 0);
    EXPECT_EQ(test::readFile(dir_.file("marked.back")), crlf(marked));
}

// A UTF-16 file (QuarkXPress "<e8>", with its byte-order mark, in either
// byte order) is read as its characters through a UTF-8 copy: the mark is
// part of the protected header as its kept bytes, the letters are Unicode
// escapes, and the file comes back in UTF-16 byte for byte. Neither the copy
// nor the working copy is left behind.
TEST_F(XPressToRtf, Utf16FilesComeBackInUtf16) {
    REQUIRE_XPRESS_TABLES();
    const std::string text =
        "<v8.00><e8>\r\n@Normal:Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 \xF0\x9F\x98\x80\r\n";
    for (bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        for (const char* output : {"doc.back"}) std::filesystem::remove(dir_.file(output));
        const std::string bytes = std::string(bigEndian ? "\xFE\xFF" : "\xFF\xFE") +
                                  platform::utf16OfUtf8(text, bigEndian);
        input(bytes);
        EXPECT_EQ(convert(), 2);
        const std::string mark = bigEndian ? "\\u-3842?\\u-3841?" : "\\u-3841?\\u-3842?";
        EXPECT_EQ(rtf(),
                  converterDocument(externalRun(mark + "<v8.00><e8>") + "\n\\par " +
                                    externalRun("@Normal:") +
                                    "Za\\u380?\xF3\\u322?\\u263? \\u-10179?\\u-8704?\n\\par "));
        ASSERT_GE(f_iRTF2XPress(dir_.file("doc.RTF").c_str(), ".back"), 0);
        EXPECT_EQ(test::readFile(dir_.file("doc.back")), bytes);
        std::size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
            ++files;
            EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
        }
        EXPECT_EQ(files, 3u) << "doc.xtg, doc.RTF and doc.back only";
    }
}

// Without a mark, UTF-16 shows in the NUL beside the header's '<': it reads
// as the same characters, and comes back as UTF-16 by its header's "<e8>"
// (little-endian, the order a writer without a mark uses). A unit that
// pairs with no other is counted in the log (-1505), read as U+FFFD.
TEST_F(XPressToRtf, Utf16WithoutAMarkAndUnpairedUnits) {
    REQUIRE_XPRESS_TABLES();
    const std::string text = "<v8.00><e8>\r\n@Normal:Za\xC5\xBC\xC3\xB3 \xF0\x9F\x98\x80\r\n";
    const std::string body = externalRun("@Normal:") + "Za\\u380?\xF3 \\u-10179?\\u-8704?\n\\par ";
    for (bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        std::filesystem::remove(dir_.file("doc.back"));
        input(platform::utf16OfUtf8(text, bigEndian));
        EXPECT_EQ(convert(), 2) << log();
        EXPECT_EQ(rtf(), converterDocument(externalRun("<v8.00><e8>") + "\n\\par " + body));
        ASSERT_GE(f_iRTF2XPress(dir_.file("doc.RTF").c_str(), ".back"), 0);
        EXPECT_EQ(test::readFile(dir_.file("doc.back")), platform::utf16OfUtf8(text, false));
    }
    // A lone high surrogate (D83D) before "x".
    input("\xFF\xFE" + platform::utf16OfUtf8("<v8.00><e8>\r\n@Normal:a", false) +
          std::string("\x3D\xD8x\0\r\0\n\0", 8));
    EXPECT_EQ(convert(), -113);
    EXPECT_NE(log().find("UTF-16 units that pair with no other were found in the file.\r\n"
                         "1 of them were read as U+FFFD."),
              std::string::npos)
        << log();
    EXPECT_NE(rtf().find("a\\u-3?x"), std::string::npos) << rtf();
}

// The older encodings keep their bytes: "<e1>" text is Windows 1252 as it
// stands, and an encoding digit the format does not define stays an
// invalid token.
TEST_F(XPressToRtf, OlderEncodingTagsKeepTheirBytes) {
    REQUIRE_XPRESS_TABLES();
    input("<v4.00><e2>\nZa\xBF\xF3\n");
    EXPECT_EQ(convert(), 1);
    EXPECT_EQ(rtf(), converterDocument(externalRun("<v4.00><e2>") + "\n\\par Za\xBF\xF3\n\\par "));
    input("<v11.10><e5>\ntext\n");
    EXPECT_EQ(convert(), -1);
    EXPECT_NE(log().find("Invalid token, Line 1, Offset 9, <e5"), std::string::npos) << log();
}

// Marking up the examples and converting them back through f_iRTF2XPress
// gives the source again except where a rule changes it:
// - the 254-character rule: a "<$>" after exactly 254 characters is gone;
// - the line-end check: the last line gets a line end;
// - Windows text mode: the Windows file's line ends come back as CR LF;
// - literal character tags: a Macintosh byte without a Windows counterpart
//   comes back as its tag "<\#n>".
TEST_F(XPressToRtf, ExamplesSurviveTheRoundTripUpToTheRules) {
    REQUIRE_XPRESS_TABLES();
    std::string windows = test::example("quark/windows_sample.xtg");
    input(windows);
    ASSERT_GT(convert(), 0);
    ASSERT_GE(f_iRTF2XPress(dir_.file("doc.RTF").c_str(), ".back"), 0);
    std::size_t reset = windows.find("come to<$>gether");
    ASSERT_NE(reset, std::string::npos);
    std::string expected = windows;
    expected.erase(reset + 7, 3);
    EXPECT_EQ(test::readFile(dir_.file("doc.back")), expected + "\r\n");

    std::string macintosh = test::example("quark/macintosh_sample.xtg");
    input(macintosh, "mac.xtg");
    ASSERT_GT(convert(), 0);
    ASSERT_GE(f_iRTF2XPress(dir_.file("mac.RTF").c_str(), ".back"), 0);
    EXPECT_EQ(test::readFile(dir_.file("mac.back")), replaceAll(macintosh, "\xB0", "<\\#176>"));
}

}  // namespace
}  // namespace tessel::dtp
