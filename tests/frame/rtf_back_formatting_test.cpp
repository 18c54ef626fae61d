// Bold, italic and underlined text that a translator formatted: no tagged
// text format can hold the formatting, so the back-conversion says once per
// file that it dropped it, naming the first paragraph where it was seen.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

using tessel::test::readFile;
using tessel::test::TempDir;

constexpr std::string_view kMessageStart =
    "] The translated text is bold, italic or underlined in places. The back-conversion cannot "
    "write such formatting and has dropped it. The first paragraph with formatting:\r\n";

// A document a mark-up wrote: its style sheet names a tag style, and its
// first paragraph is a tag in that style.
std::string head(std::string_view firstTag = "<doc>") {
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times;}}"
           "{\\stylesheet{\\s1\\b\\i\\ul Heading;}{\\*\\cs6\\b qz4lexInternal;}}\\pard\\plain "
           "{\\cs6 " +
           std::string(firstTag) + "}\\par ";
}

// The paragraph quoted by the one message about formatting; empty when
// there is none. Fails when there are two.
std::string quotedParagraph(const std::string& log) {
    std::size_t at = log.find(kMessageStart);
    if (at == std::string::npos) return {};
    EXPECT_EQ(log.find(kMessageStart, at + 1), std::string::npos) << "one message: " << log;
    std::size_t start = log.find("\r\n", at + kMessageStart.size()) + 2;
    return log.substr(start, log.find("\r\n", start) - start);
}

struct Case {
    const char* body;
    const char* quoted;  // empty: no message
};

TEST(RtfBackFormatting, FirstFormattedParagraphIsNamedOnce) {
    const Case cases[] = {
        {"plain {\\b bold} words\\par more {\\i it}\\par }", "plain bold words"},
        {"first\\par {\\ul under}lined\\par {\\b again}\\par }", "underlined"},
        {"a\\ul  b\\ulnone  c\\par \\i x\\i0\\par }", "a b c"},
        {"\\b\\par\\par next\\par }", "next"},
        {"\\b x\\plain  y\\par }", "x y"},
        // Tags in groups read before and replayed, in bold and not.
        {"{\\cs6 <b>}t{\\cs6 <b>}\\par {\\cs6 <b>}\\b {\\cs6 <b>}\\par }", "<b><b>"},
        // No text shown in bold: nothing to tell.
        {"\\b\\b0 not bold\\par {\\v\\b hidden} shown\\par {\\footnote \\b note}x\\par }", ""},
        {"\\ul0 plain\\par \\i\\i0\\par }", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        TempDir dir;
        std::string path = dir.write("t.rtf", head() + c.body);
        int result = f_iRTF2Text(path.c_str(), ".txt");
        if (*c.quoted == '\0') {
            EXPECT_EQ(result, 0);
            EXPECT_FALSE(tessel::test::exists(dir.file("t.ERR")));
        } else {
            EXPECT_EQ(result, -113);
            EXPECT_EQ(quotedParagraph(readFile(dir.file("t.ERR"))), c.quoted);
        }
    }
}

// Every back-conversion drops it, HTML as the tagged text formats; the text
// itself is written as before.
TEST(RtfBackFormatting, EveryBackConversionTellsIt) {
    TempDir dir;
    std::string path = dir.write("t.rtf", head() + "<P>Say {\\b hello}</P>\\par }");
    EXPECT_EQ(f_iRTF2HTML(path.c_str(), ".htm"), -113);
    EXPECT_EQ(readFile(dir.file("t.htm")), "<doc>\r\n<P>Say hello</P>\r\n");
    EXPECT_EQ(quotedParagraph(readFile(dir.file("t.ERR"))), "<P>Say hello</P>");
    std::string pm = dir.write("p.rtf", head("<PMTags1.0 win>") + "text {\\i in italics}\\par }");
    EXPECT_EQ(f_iRTF2PageMaker(pm.c_str(), ".pm6"), -113);
    EXPECT_EQ(quotedParagraph(readFile(dir.file("p.ERR"))), "text in italics");
}

// Bold in a document that no mark-up wrote (no run in a tag style) is no
// translator's formatting of translated text.
TEST(RtfBackFormatting, DocumentsWithoutTagRunsAreNotTold) {
    TempDir dir;
    std::string wild = dir.write("w.rtf", "{\\rtf1\\ansi\\pard {\\b Title}\\par text\\par }");
    EXPECT_EQ(f_iRTF2Text(wild.c_str(), ".txt"), 0);
    std::string styled = dir.write(
        "s.rtf", "{\\rtf1\\ansi{\\stylesheet{\\*\\cs6 qz4lexInternal;}}\\pard {\\b Title}\\par }");
    EXPECT_EQ(f_iRTF2Text(styled.c_str(), ".txt"), 0) << "the style defined, but never used";
    EXPECT_EQ(dir.listing(), "s.rtf s.txt w.rtf w.txt");
}

}  // namespace
