// Whole HTML-to-RTF jobs: RTF and logs byte for byte, paragraph joining,
// names and clean-up, the tag definition file, and inputs that must not
// crash or hang.
#include <gtest/gtest.h>

#include <string>

#include "resources/log_texts.h"
#include "resources/rtf_texts.h"
#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

using tessel::test::exists;
using tessel::test::readFile;
using tessel::test::TempDir;
using tessel::test::withoutDate;

const std::string I = "{\\cs6\\cf6\\f1\\lang1024 ";
const std::string E = "{\\cs5\\cf15\\f1\\lang1024 ";
const std::string D = "{\\cs8\\cf13\\f1\\lang1024 ";
const std::string kSeparator(58, '-');
const std::string kRule(115, '-');

// What a text-mode stream writes for `text`.
std::string crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::string rtfDocument(const std::string& body) {
    return crlf(std::string(tessel::resources::kRtfHeader) + body + "}");
}

std::string logHeader(const std::string& path) {
    return "\t\tError Log File from Tessel CAT Tools Text to RTF Parser\n\n"
           "DLL Version:\tVersion 1.09\n"
           "Date:\t<date>\n"
           "File:\t" +
           path +
           "\n"
           "Function:\tMarking up HTML tags\n" +
           kRule + "\n";
}

std::string quotedSegment(const std::string& text) {
    return kSeparator + "\n" + text + "\n" + kSeparator + "\n";
}

TEST(HtmlToRtf, CommentOverLinesAndParagraphJoining) {
    TempDir dir;
    auto path = dir.write("page.htm",
                          "<HTML>\r\n<BODY>\r\n<!-- first\r\nsecond -->\r\n"
                          "<P>Hello &amp; welcome   \r\nto the page.\r\n</BODY>\r\n");
    EXPECT_EQ(f_iHTML2RTF(path.c_str(), nullptr), 6);
    EXPECT_EQ(readFile(dir.file("page.rtf")),
              rtfDocument(E + "<HTML>}\\par \n" + E + "<BODY>}\\par \n" + E +
                          "<!-- first\\par \nsecond -->}\\par \n" + E + "<P>}Hello " + I +
                          "&amp;} welcome to the page.\\par \n" + E + "</BODY>}\n\\par "));
    EXPECT_EQ(dir.listing(), "page.htm page.rtf") << "no log when nothing went wrong";
}

TEST(HtmlToRtf, PreScriptUnknownTagAndTheLog) {
    TempDir dir;
    auto path =
        dir.write("doc.html",
                  "<PRE>\r\nline one\r\n  line two\r\n</PRE>\r\n<SCRIPT>\r\nx = \"<B>\";\r\n"
                  "</SCRIPT>\r\n<ABBR>AT&T</ABBR>\r\nlast");
    EXPECT_EQ(f_iHTML2RTF(path.c_str(), ""), -113);
    // The last line has no line break: it is converted together with the
    // line before it, as one unit.
    std::string abbr = I + "<ABBR>}AT&T" + I + "</ABBR>}\n\\par last";
    EXPECT_EQ(
        readFile(dir.file("doc.rtf")),
        rtfDocument(I + "<PRE>}\\par \nline one\\par \n  line two\\par \n" + I + "</PRE>}\\par \n" +
                    E + "<SCRIPT>\\par \nx = \"<B>\";\\par \n</SCRIPT>}\\par \n" + abbr));
    EXPECT_EQ(
        withoutDate(readFile(dir.file("doc.ERR"))),
        crlf(logHeader(path) + "[1] Unknown HTML tag in the following text segment:\n" +
             quotedSegment(abbr) + "The unknown tag has been marked up as an Internal tag.\n\n" +
             std::string(tessel::resources::kSummaryHeading) +
             "\t1 error reported in this file.\n"
             "\t3 changes made in the output file.\n"
             "\tThe original file is saved as " +
             path + "\n" + kRule + "\n"));
}

TEST(HtmlToRtf, UserTagFileOverridesAndTagSplitOverLines) {
    TempDir dir;
    auto tags = dir.write("tags.txt", "\r\nFORM\tI\r\nFORM\tD\r\n\r\n");
    auto path = dir.write("form.htm",
                          "<P>Click <A HREF=\"a.htm\"\r\nTITLE=\"Open the page\">here</A>.\r\n"
                          "<FORM>\r\n");
    EXPECT_EQ(f_iHTML2RTF(path.c_str(), tags.c_str()), 4);
    EXPECT_EQ(readFile(dir.file("form.rtf")),
              rtfDocument(E + "<P>}Click  " + I + "<A HREF=\"a.htm\" TITLE=\"}Open the page" + I +
                          "\">}here" + I + "</A>}.\\par \n" + D + "<FORM>}\n\\par "));
    EXPECT_FALSE(exists(dir.file("form.ERR")));
}

TEST(HtmlToRtf, EmptyInputGivesTheHeaderAndTheEnd) {
    TempDir dir;
    auto path = dir.write("empty.htm", "");
    EXPECT_EQ(f_iHTML2RTF(path.c_str(), nullptr), 0);
    EXPECT_EQ(readFile(dir.file("empty.rtf")), rtfDocument(""));
}

TEST(HtmlToRtf, EmptyLinesAndLinesStartingWithExternalTags) {
    TempDir dir;
    auto path = dir.write("p.htm", "one\r\n\ttwo\r\n\r\nthree\r\n<P>four\r\nfive\r\n");
    EXPECT_EQ(f_iHTML2RTF(path.c_str(), nullptr), 1);
    EXPECT_EQ(readFile(dir.file("p.rtf")), rtfDocument("one two\\par \n\\par \nthree\\par \n" + E +
                                                       "<P>}four\\par \nfive\n\\par "));
}

TEST(HtmlToRtf, NamesAndExistingOutput) {
    TempDir dir;
    auto path = dir.write("a.htm", "<B>x</B>\r\n");
    dir.write("a.RTF", "old");
    EXPECT_EQ(f_iHTML2RTF(path.c_str(), nullptr), -1401) << "whatever the case of the extension";
    EXPECT_EQ(readFile(dir.file("a.RTF")), "old");
    auto rtfInput = dir.write("b.rtf", "<B>x</B>\r\n");
    EXPECT_EQ(f_iHTML2RTF(rtfInput.c_str(), nullptr), -904);
    EXPECT_EQ(readFile(rtfInput), "<B>x</B>\r\n");
    EXPECT_EQ(f_iHTML2RTF(dir.file("missing.htm").c_str(), nullptr), -101);
    EXPECT_EQ(f_iHTML2RTF(nullptr, nullptr), -101);
    EXPECT_EQ(f_iHTML2RTF(std::string(300, 'x').c_str(), nullptr), -101);
    EXPECT_EQ(dir.listing(), "a.RTF a.htm b.rtf") << "failed jobs leave nothing behind";
}

TEST(HtmlToRtf, BrokenTagFileLeavesTheReasonAndNoRtf) {
    TempDir dir;
    auto tags = dir.write("tags.txt", "FORM\tE\r\nTABLE E\r\nP\tI\r\n");
    auto path = dir.write("t.htm", "<TABLE>\r\n");
    EXPECT_EQ(f_iHTML2RTF(path.c_str(), tags.c_str()), -2206);
    EXPECT_FALSE(exists(dir.file("t.rtf"))) << "a second run must not find an empty RTF";
    EXPECT_EQ(readFile(dir.file("t.ERR")),
              crlf("Reading tag file: " + tags +
                   "\nNo tab character found on this line in the tag file:\nTABLE E\n\n"
                   "Error code -2206 returned when reading HTML tag file " +
                   tags + "\n"));
    EXPECT_TRUE(std::remove(dir.file("t.ERR").c_str()) == 0);
    EXPECT_EQ(f_iHTML2RTF(path.c_str(), dir.file("none.txt").c_str()), -101);
    EXPECT_FALSE(exists(dir.file("t.rtf")));
    EXPECT_EQ(readFile(dir.file("t.ERR")),
              crlf("Reading tag file: " + dir.file("none.txt") +
                   "\nError code -101 returned when reading HTML tag file " + dir.file("none.txt") +
                   "\n"));
}

TEST(HtmlToRtf, TagFileNamedLikeTheLogIsNeverTruncated) {
    TempDir dir;
    auto tags = dir.write("t.ERR", "FORM\tD\r\n");
    auto path = dir.write("t.htm", "<FORM>\r\n");
    EXPECT_EQ(f_iHTML2RTF(path.c_str(), tags.c_str()), -904);
    EXPECT_EQ(f_iHTML2RTF(path.c_str(), dir.file("T.rtf").c_str()), -904);
    EXPECT_EQ(readFile(tags), "FORM\tD\r\n");
    EXPECT_EQ(dir.listing(), "t.ERR t.htm");
}

TEST(HtmlToRtf, InvalidClassEndsTheJobAndRemovesTheOutput) {
    TempDir dir;
    auto tags = dir.write("tags.txt", "X\tS\t\" ALT=\"\r\n");
    auto path = dir.write("x.htm", "<B>a</B>\r\n<X ALT=\"b\">\r\n<P>\r\n");
    EXPECT_EQ(f_iHTML2RTF(path.c_str(), tags.c_str()), -2201);
    EXPECT_EQ(dir.listing(), "tags.txt x.htm");
}

TEST(HtmlToRtf, UnclosedCommentIsLoggedAndKept) {
    TempDir dir;
    auto path = dir.write("c.htm", "text <!-- never\r\nends <B>\r\n");
    EXPECT_EQ(f_iHTML2RTF(path.c_str(), nullptr), -113);
    std::string open = "<!-- never\\par \nends <B>\n\\par ";
    EXPECT_EQ(readFile(dir.file("c.rtf")), rtfDocument("text \\par \n" + E + open + "}"))
        << "the open text stays in the document, protected";
    std::string log = withoutDate(readFile(dir.file("c.ERR")));
    EXPECT_NE(
        log.find(crlf(std::string("[1] SGML tag with no end detected in the following text:\n") +
                      quotedSegment(open) + "\n")),
        std::string::npos)
        << log;
}

TEST(HtmlToRtf, MessagesAreNumberedAcrossLines) {
    TempDir dir;
    auto path = dir.write("m.htm", "<ABBR>\r\nAT&T\r\n<A <B>>\r\n<IMG ALT=\"x>\r\nok\r\n");
    EXPECT_EQ(f_iHTML2RTF(path.c_str(), nullptr), -113);
    std::string log = readFile(dir.file("m.ERR"));
    EXPECT_NE(log.find("[1] Unknown HTML tag"), std::string::npos);
    EXPECT_NE(log.find("[2] HTML/SGML ampersand (&) tag without ending semicolon"),
              std::string::npos);
    EXPECT_NE(log.find("[3] Nested HTML tag found"), std::string::npos);
    EXPECT_NE(log.find("[4] Missing end quote in HTML tag"), std::string::npos);
    EXPECT_NE(log.find("\t4 errors reported in this file.\r\n"), std::string::npos);
}

TEST(HtmlToRtf, HostileInputsEndWithAResult) {
    TempDir dir;
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
    auto bin = dir.write("bin.htm", binary);
    EXPECT_NE(f_iHTML2RTF(bin.c_str(), nullptr), -103);
    EXPECT_TRUE(exists(dir.file("bin.rtf")));

    // A megabyte line of tags, and a tag that never closes.
    std::string tags;
    while (tags.size() < (1 << 20)) tags += "<B>bold</B> &amp; <ABBR>x ";
    auto big = dir.write("big.htm", tags + "\r\n<A HREF=" + std::string(1 << 20, 'h'));
    EXPECT_EQ(f_iHTML2RTF(big.c_str(), nullptr), -113);
    std::string rtf = readFile(dir.file("big.rtf"));
    EXPECT_EQ(rtf.substr(rtf.size() - 3), "h}}");

    // Lines that would take quadratic time with a careless scan.
    auto worst = dir.write(
        "worst.htm", std::string(200000, '<') + "\r\n" + std::string(200000, '&') + "\r\n<" +
                         std::string(200000, '>') + "\r\n<!--" + std::string(200000, '-') + "\r\n");
    EXPECT_EQ(f_iHTML2RTF(worst.c_str(), nullptr), -113);

    // Not named "nul.htm": Windows takes "nul.rtf" for its null device, an
    // output that always exists.
    std::string nul("a\0<B>\0</B>\r\n", 13);
    auto withNul = dir.write("zero_bytes.htm", nul);
    EXPECT_EQ(f_iHTML2RTF(withNul.c_str(), nullptr), 2);
    EXPECT_NE(readFile(dir.file("zero_bytes.rtf")).find(std::string("a\0", 2) + I + "<B>}\0", 0),
              std::string::npos);
}

}  // namespace

namespace {

std::string withoutBlanksOrLineEnds(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') out += c;
    }
    return out;
}

// Marked up and converted back unchanged (as if nothing was translated), a
// page keeps every tag, entity and character; only the line structure differs.
TEST(HtmlRoundTrip, BackConversionRestoresThePage) {
    TempDir dir;
    std::string page =
        "<HTML><BODY>\r\n<!-- a comment\r\n   over lines -->\r\n<H1>Caf&eacute; &amp; bar</H1>\r\n"
        "<P>Price: 5&nbsp;&euro; <B>only</B> &#123;curly&#125;\r\n"
        "<IMG SRC=\"a.gif\" ALT=\"A &ldquo;picture&rdquo;\">\r\n<A HREF=\"x.htm\"\r\n"
        "TITLE=\"Help\">help</A> {braces} and \\backslash\r\n<PRE>\r\n  kept\r\n</PRE>\r\n"
        "</BODY></HTML>\r\n";
    auto path = dir.write("page.html", page);
    ASSERT_EQ(f_iHTML2RTF(path.c_str(), nullptr), 19);
    ASSERT_GE(f_iRTF2HTML(dir.file("page.rtf").c_str(), ".htm"), 0);
    EXPECT_EQ(withoutBlanksOrLineEnds(readFile(dir.file("page.htm"))),
              withoutBlanksOrLineEnds(page));
}

}  // namespace
