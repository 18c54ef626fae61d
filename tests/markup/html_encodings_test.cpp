// HTML, XHTML and SGML sources in today's encodings through the whole jobs:
// marked up as the right letters (Windows 1252's as before, the others as
// "\uN?"), and converted back in the encoding the document declares, with
// its byte-order mark, byte for byte without translation.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

namespace fs = std::filesystem;
using tessel::test::readFile;
using tessel::test::TempDir;
using tessel::test::writeFile;

const std::string E = "{\\cs5\\cf15\\f1\\lang1024 ";

// Resets the process-wide choices after each test.
class HtmlEncodings : public ::testing::Test {
  protected:
    void TearDown() override {
        f_iSetSourceEncoding(nullptr);
        f_iSetTargetCodePage(0);
    }

    // Marks up `name` with `bytes`, converts it back without translation and
    // returns the back-converted bytes; `rtf` gets the RTF.
    std::string roundTrip(const std::string& name, const std::string& bytes, std::string& rtf,
                          int expectedMarkUp = -1) {
        std::string path = dir_.write(name, bytes);
        int marked = f_iHTML2RTF(path.c_str(), nullptr);
        if (expectedMarkUp != -1) {
            EXPECT_EQ(marked, expectedMarkUp);
        }
        EXPECT_TRUE(marked >= 0 || marked == -113) << marked;
        // The back-conversion reports on its own writing.
        markUpReport_ = report();
        std::string rtfPath = fs::path(path).replace_extension(".rtf").string();
        rtf = readFile(rtfPath);
        // The back-conversion's log takes the same name.
        std::string logPath = fs::path(path).replace_extension(".ERR").string();
        markUpLog_ = fs::exists(logPath) ? readFile(logPath) : "";
        int back = f_iRTF2HTML(rtfPath.c_str(), ".back");
        EXPECT_GE(back, 0);
        return readFile(fs::path(path).replace_extension(".back").string());
    }

    std::string report() {
        char text[256];
        f_iGetSourceEncodingReport(text, sizeof text);
        return text;
    }

    TempDir dir_;
    std::string markUpLog_;
    std::string markUpReport_;
};

// The first case seen: the UTF-8 bytes went raw into the RTF, and back as
// entities of their 1252 bytes ("Za&Aring;&frac14;...").
TEST_F(HtmlEncodings, Utf8PageShowsItsLettersAndComesBackAsItWas) {
    const std::string page =
        "<html><head><meta charset=\"utf-8\"></head>\r\n<body>\r\n"
        "<p>Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85 "
        "ja\xC5\xBA\xC5\x84</p>\r\n"
        "<p>Cze\xC5\x9B\xC4\x87 \xE2\x80\x94 \xE2\x80\x9Cquotes\xE2\x80\x9D</p>\r\n"
        "<p>\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E &amp; &eacute;</p>\r\n</body></html>\r\n";
    std::string rtf;
    std::string back = roundTrip("pl.html", page, rtf);
    EXPECT_NE(rtf.find("Za\\u380?\xF3\\u322?\\u263? g\\u281?\\u347?l\\u261? ja\\u378?\\u324?"),
              std::string::npos);
    EXPECT_NE(rtf.find("Cze\\u347?\\u263? \\emdash  \\ldblquote quotes\\rdblquote "),
              std::string::npos);
    EXPECT_NE(rtf.find("\\u26085?\\u26412?\\u-30050?"), std::string::npos);
    EXPECT_NE(rtf.find("\\uc1 "), std::string::npos);
    EXPECT_EQ(rtf.find("\xC5"), std::string::npos) << "no UTF-8 byte is raw in the RTF";
    // Every typed letter comes back as itself; the decoded entity as its
    // letter in UTF-8, "&amp;" as it stood.
    std::string expected = page;
    expected.replace(expected.find("&eacute;"), 8, "\xC3\xA9");
    EXPECT_EQ(back, expected);
    EXPECT_EQ(markUpReport_, "Read as UTF-8 (declared in the file)");
}

// The second case: a windows-1251 page was declared to editors as Western.
TEST_F(HtmlEncodings, Windows1251PageComesBackIn1251WithReferencesForTheRest) {
    const std::string page =
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
        "charset=windows-1251\"></head>\r\n<body><p>\xCF\xF0\xE8\xE2\xE5\xF2</p></body></html>\r\n";
    std::string rtf;
    EXPECT_EQ(roundTrip("ru.htm", page, rtf), page);
    EXPECT_NE(rtf.find("\\u1055?\\u1088?\\u1080?\\u1074?\\u1077?\\u1090?"), std::string::npos);

    // A translation with a letter 1251 lacks (ł) and one it holds (ю).
    std::string rtfPath = dir_.file("ru.rtf");
    std::string translated = rtf;
    translated.replace(translated.find("\\u1055?"), 7, "\\u322?\\u1102?");
    fs::remove(rtfPath);
    writeFile(rtfPath, translated);
    fs::remove(dir_.file("ru.back"));
    EXPECT_GE(f_iRTF2HTML(rtfPath.c_str(), ".back"), 0);
    std::string expected = page;
    expected.replace(expected.find("\xCF\xF0"), 1, "&#322;\xFE");
    EXPECT_EQ(readFile(dir_.file("ru.back")), expected);
}

// The third case: the mark landed inside the first text run.
TEST_F(HtmlEncodings, ByteOrderMarkIsAProtectedRunAndComesBack) {
    const std::string page =
        "\xEF\xBB\xBF<p>Gr\xC3\xBC\xC3\x9F"
        "e</p>\r\n";
    std::string rtf;
    EXPECT_EQ(roundTrip("bom.html", page, rtf), page);
    EXPECT_NE(rtf.find("\\uc1 " + E + "\\u-257?}" + E +
                       "<p>}Gr\xFC\xDF"
                       "e"),
              std::string::npos);
    EXPECT_EQ(rtf.find("\xEF\xBB\xBF"), std::string::npos);
    EXPECT_EQ(markUpReport_, "Read as UTF-8 (byte-order mark)");
}

TEST_F(HtmlEncodings, Utf16WithItsMarkComesBackAsUtf16) {
    auto utf16le = [](const std::string& ascii) {
        std::string bytes;
        for (char c : ascii) {
            bytes += c;
            bytes += '\0';
        }
        return bytes;
    };
    // "<p>" "Ω" (U+03A9) "x</p>" CR LF in UTF-16LE.
    const std::string page = std::string("\xFF\xFE", 2) + utf16le("<p>") +
                             std::string("\xA9\x03", 2) + utf16le("x</p>\r\n");
    std::string rtf;
    EXPECT_EQ(roundTrip("wide.htm", page, rtf), page);
    EXPECT_NE(rtf.find(E + "\\u-3841?\\u-3842?}"), std::string::npos);
    EXPECT_NE(rtf.find("\\u937?x"), std::string::npos);
    EXPECT_EQ(markUpReport_, "Read as UTF-16LE (byte-order mark)");
    EXPECT_EQ(dir_.listing(), "wide.back wide.htm wide.rtf") << "no copy is left behind";
}

TEST_F(HtmlEncodings, UndeclaredUtf8IsReadAsUtf8AndSaidSo) {
    const std::string page = "<p>na\xC3\xAFve \xE2\x82\xAC \xC5\x82</p>\r\n";
    std::string rtf;
    std::string back = roundTrip("plain.htm", page, rtf);
    EXPECT_NE(rtf.find("na\xEFve \x80 \\u322?"), std::string::npos) << "1252's letters as before";
    EXPECT_EQ(markUpReport_, "Read as UTF-8 (not declared; the text is valid UTF-8)");
    // Nothing in the document declares UTF-8: it comes back as undeclared
    // HTML always did, in Windows 1252 with entities and references.
    EXPECT_EQ(back, "<p>na&iuml;ve \x80 &#322;</p>\r\n");
}

TEST_F(HtmlEncodings, Windows1252PageIsReadAsBefore) {
    const std::string page = "<p>caf\xE9 \x93quoted\x94</p>\r\n";
    std::string rtf;
    std::string back = roundTrip("west.htm", page, rtf, 2);
    EXPECT_EQ(rtf.find("\\uc1"), std::string::npos);
    EXPECT_NE(rtf.find("caf\xE9 \\ldblquote quoted\\rdblquote "), std::string::npos);
    EXPECT_EQ(back, "<p>caf&eacute; &ldquo;quoted&rdquo;</p>\r\n") << "entities as before";
    EXPECT_EQ(markUpReport_, "");
}

TEST_F(HtmlEncodings, BytesThatContradictTheDeclarationAreLoggedAndKept) {
    const std::string page = "<meta charset=\"utf-8\">\r\n<p>caf\xE9 ok</p>\r\n";
    std::string rtf;
    EXPECT_EQ(roundTrip("bad.htm", page, rtf, -113), page) << "the byte comes back unchanged";
    EXPECT_NE(rtf.find("caf\\u-3863? ok"), std::string::npos);
    const std::string& log = markUpLog_;
    EXPECT_NE(log.find("[1] Bytes that the encoding the file is read in gives no character"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("<p>caf\xE9 ok</p>"), std::string::npos) << "the line is quoted";
    EXPECT_NE(log.find("The file is read as UTF-8."), std::string::npos);
}

TEST_F(HtmlEncodings, UserChoiceForUndeclaredSourcesAndUnknownNamesRefused) {
    EXPECT_EQ(f_iSetSourceEncoding("windows-1250"), 0);
    EXPECT_EQ(f_iSetSourceEncoding("no-such-encoding"), -1010);
    const std::string page =
        "<p>\xB3\xF3"
        "d\xBF</p>\r\n";  // łódż in 1250
    std::string rtf;
    roundTrip("cz.htm", page, rtf);
    EXPECT_NE(rtf.find("\\u322?\xF3"
                       "d\\u380?"),
              std::string::npos)
        << "the choice made before the refused name stays";
    EXPECT_EQ(markUpReport_, "Read as code page 1250 (the encoding chosen)");
    // A declaration wins over the choice.
    roundTrip("declared.htm", "<meta charset=\"windows-1252\"><p>\xB3</p>\r\n", rtf);
    EXPECT_NE(rtf.find("<p>}\xB3"), std::string::npos);
}

TEST_F(HtmlEncodings, UnreadDeclarationIsLogged) {
    std::string rtf;
    roundTrip("ar.htm", "<meta charset=\"koi8-r\"><p>x</p>\r\n", rtf, -113);
    const std::string& log = markUpLog_;
    EXPECT_NE(log.find("Declared: \"koi8-r\""), std::string::npos) << log;
}

TEST_F(HtmlEncodings, ChosenTargetCodePageForUndeclaredHtml) {
    ASSERT_EQ(f_iSetTargetCodePage(1250), 0);
    std::string path = dir_.write("w.htm", "<p>x</p>\r\n");
    ASSERT_GE(f_iHTML2RTF(path.c_str(), nullptr), 0);
    std::string rtfPath = dir_.file("w.rtf");
    std::string rtf = readFile(rtfPath);
    rtf.replace(rtf.find("<p>}x") + 4, 1, "\\u322?\\u8364?");
    fs::remove(rtfPath);
    writeFile(rtfPath, rtf);
    ASSERT_GE(f_iRTF2HTML(rtfPath.c_str(), ".back"), 0);
    EXPECT_EQ(readFile(dir_.file("w.back")), "<p>\xB3\x80</p>\r\n");
}

TEST_F(HtmlEncodings, SgmlWithAnXmlDeclarationComesBackInItsEncoding) {
    const std::string doc =
        "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<doc><t>\xCF\xF0\xE8</t></doc>\r\n";
    std::string path = dir_.write("feed.xml", doc);
    std::string tags = dir_.write("tags.txt", "<doc>\r\n");
    int marked = f_iSGML2RTF(path.c_str(), tags.c_str());
    ASSERT_GE(marked, 0);
    std::string rtfPath = fs::path(path).replace_extension(".rtf").string();
    std::string rtf = readFile(rtfPath);
    EXPECT_NE(rtf.find("\\u1055?\\u1088?\\u1080?"), std::string::npos);
    ASSERT_GE(f_iRTF2SGML(rtfPath.c_str(), ".back"), 0);
    EXPECT_EQ(readFile(fs::path(rtfPath).replace_extension(".back").string()), doc);
}

}  // namespace
