#include "frame/rtf_writer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "resources/rtf_texts.h"
#include "support/temp_dir.h"

namespace tessel::frame {
namespace {

TEST(EscapeRtf, BracesTabAndLineEnd) {
    std::string line = "a{b}\tc\n";
    ASSERT_TRUE(escapeRtf(line));
    EXPECT_EQ(line, "a\\{b\\}\\tab c\n\\par ");
}

TEST(EscapeRtf, GrowthIsExactAndInsertedTextIsNotEscapedAgain) {
    std::string line = "\\\x91\x92\x93\x94\x95\x96\x97";
    ASSERT_TRUE(escapeRtf(line));
    EXPECT_EQ(line, "\\\\\\lquote \\rquote \\ldblquote \\rdblquote \\bullet \\endash \\emdash ");
    EXPECT_EQ(line.size(), 8u + 1 + 7 + 7 + 10 + 10 + 7 + 7 + 7);
}

TEST(EscapeRtf, OtherBytesIncludingHighOnesStayAsTheyAre) {
    std::string line = "caf\xE9 \x80\x99\x85 plain";
    std::string before = line;
    ASSERT_TRUE(escapeRtf(line));
    EXPECT_EQ(line, before);
}

TEST(TagRuns, EachKindOpensWithItsStyleAndCloses) {
    std::string out;
    appendTagRun(out, TagKind::Internal, "<B>");
    appendTagRun(out, TagKind::External, "<P>");
    appendTagRun(out, TagKind::DoNotTranslate, "x");
    EXPECT_EQ(out,
              "{\\cs6\\cf6\\f1\\lang1024 <B>}{\\cs5\\cf15\\f1\\lang1024 <P>}"
              "{\\cs8\\cf13\\f1\\lang1024 x}");
}

TEST(Document, EmptyDocumentIsTheHeaderAndOneBrace) {
    test::TempDir dir;
    std::string path = dir.file("e.rtf");
    platform::OutputStream out;
    ASSERT_TRUE(out.open(path, platform::StreamMode::Text));
    writeRtfHeader(out);
    writeDocumentEnd(out);
    ASSERT_TRUE(out.close());
    std::string rtf = test::readFile(path);
    EXPECT_EQ(std::count(rtf.begin(), rtf.end(), '\n'), 18);
    EXPECT_EQ(rtf.rfind("{\\rtf1 \\ansi\\deff3 \r\n{\\fonttbl \r\n", 0), 0u);
    EXPECT_NE(rtf.find("{\\cs6 \\additive \\cf6\\f1\\lang1024 qz4lexInternal;}\r\n"),
              std::string::npos);
    EXPECT_NE(rtf.find("\\red192\\green192\\blue192;}\r\n{\\stylesheet \r\n"), std::string::npos);
    EXPECT_EQ(rtf.substr(rtf.size() - 4), " \r\n}");
    EXPECT_EQ(std::count(rtf.begin(), rtf.end(), '{'), std::count(rtf.begin(), rtf.end(), '}'));
}

}  // namespace
}  // namespace tessel::frame
