#include "frame/rtf_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

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

// The scan reads sixteen (or eight) bytes at a time and the end of a line as
// an overlapping last piece: every escaped byte and its near neighbours, at
// every position of lines around those sizes, next to a second byte.
TEST(EscapeRtf, EveryPositionOfLinesAroundTheChunkSize) {
    std::array<std::string_view, 256> table{};
    for (const auto& escape : resources::kRtfEscapes) {
        table[static_cast<unsigned char>(escape.byte)] = escape.replacement;
    }
    auto expected = [&](const std::string& line) {
        std::string out;
        for (char c : line) {
            std::string_view replacement = table[static_cast<unsigned char>(c)];
            if (replacement.empty()) {
                out += c;
            } else {
                out += replacement;
            }
        }
        return out;
    };
    const std::string bytes = "\\{}\t\n\x91\x97\x90\x98\xE9\x80\x7F";
    for (std::size_t size = 1; size <= 40; ++size) {
        for (std::size_t pos = 0; pos < size; ++pos) {
            for (char byte : bytes) {
                std::string line(size, 'a');
                line[pos] = byte;
                line[(pos * 7 + 3) % size] = '}';
                std::string want = expected(line);
                ASSERT_TRUE(escapeRtf(line));
                ASSERT_EQ(line, want) << "size " << size << ", byte at " << pos;
            }
        }
    }
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
