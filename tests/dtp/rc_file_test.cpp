#include "dtp/rc_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "dtp/converter_test_support.h"
#include "platform/streams.h"

namespace tessel::dtp {
namespace {

class RcFileTest : public ::testing::Test {
  protected:
    CRCFile& open(std::string_view bytes) {
        file_.open(dir_.write("in.txt", bytes), CRCFile::Direction::Input, true);
        return file_;
    }
    test::TempDir dir_;
    test::ConverterLogCapture log_{dir_};
    CRCFile file_;
    std::string out_;
};

TEST_F(RcFileTest, ReadsByLineAndColumnAcrossLineEnds) {
    CRCFile& file = open("ab\r\ncdef\nlast");
    ASSERT_TRUE(file.readTo(out_, 1, 2));
    EXPECT_EQ(out_, "a");
    ASSERT_TRUE(file.readTo(out_, 2, 3));
    EXPECT_EQ(out_, "b\ncd");
    ASSERT_TRUE(file.readTo(out_, 2, 3));
    EXPECT_EQ(out_, "");
    ASSERT_TRUE(file.readTo(out_, 3, 1));
    EXPECT_EQ(out_, "ef\n");
    ASSERT_TRUE(file.readRest(out_));
    EXPECT_EQ(out_, "last") << "no line end is invented after the last line";
    EXPECT_EQ(log_.text(), "");
}

TEST_F(RcFileTest, RestInStepsIsWholeLinesThatAddUpToTheRest) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "line " + std::to_string(i) + "\r\n";
    text += "last";
    CRCFile& file = open(text);
    ASSERT_TRUE(file.readTo(out_, 2, 3));
    std::string steps;
    int count = 0;
    for (bool atEnd = false; !atEnd; ++count) {
        ASSERT_TRUE(file.readRest(out_, 100, &atEnd));
        if (!atEnd) {
            EXPECT_GE(out_.size(), 100u);
            EXPECT_EQ(out_.back(), '\n') << "a step ends with its last whole line";
        }
        steps += out_;
    }
    EXPECT_GT(count, 20);
    CRCFile& whole = open(text);
    ASSERT_TRUE(whole.readTo(out_, 2, 3));
    ASSERT_TRUE(whole.readRest(out_));
    EXPECT_EQ(steps, out_);
    EXPECT_EQ(log_.text(), "");
}

TEST_F(RcFileTest, LoneCarriageReturnEndsALineOnlyWhenAsked) {
    // As the converters read: a lone CR ends its line (and is read as LF).
    CRCFile& both = open("a\rbc\r\nd");
    ASSERT_TRUE(both.readTo(out_, 2, 2));
    EXPECT_EQ(out_, "a\nb");
    both.close();
    // As the parser runtime counts: only LF ends a line; the CR is a byte of
    // it and comes back as it is, also inside a column read.
    CRCFile lineFeed;
    lineFeed.setLineEnds(CRCFile::LineEnds::LineFeed);
    lineFeed.open(dir_.write("lf.txt", "a\rbc\r\nd\re"), CRCFile::Direction::Input, true);
    ASSERT_TRUE(lineFeed.readTo(out_, 1, 4));
    EXPECT_EQ(out_, "a\rb");
    ASSERT_TRUE(lineFeed.readTo(out_, 2, 3));
    EXPECT_EQ(out_, "c\nd\r");
    ASSERT_TRUE(lineFeed.readRest(out_));
    EXPECT_EQ(out_, "e");
    EXPECT_EQ(log_.text(), "");
}

// Letters that differ from one column to the next, so that a byte taken from
// a wrong place shows.
std::string lettersOfLength(std::size_t length) {
    std::string line;
    for (std::size_t i = 0; i < length; ++i) line += static_cast<char>('a' + i % 23);
    return line;
}

// Reads that start, end or lie in the stream's buffer and its next filling,
// by every step from one byte to longer than a line, give the file's text.
TEST_F(RcFileTest, ReadsAcrossTheBufferEndGiveTheFileText) {
    constexpr std::size_t kBuffer = platform::kStreamBufferSize;
    // The first line's CR is the buffer's last byte, its LF the next one's
    // first; later lines end near the second buffer's end.
    std::vector<std::string> lines = {lettersOfLength(kBuffer - 1),
                                      lettersOfLength(40),
                                      lettersOfLength(kBuffer - 50),
                                      "x",
                                      "",
                                      "tail"};
    std::string bytes;
    std::string text;
    for (const std::string& line : lines) {
        bytes += line + "\r\n";
        text += line + "\n";
    }
    for (std::uint32_t step : {1u, 15u, 16u, 17u, 300u, 70000u}) {
        CRCFile& file = open(bytes);
        std::string read;
        for (std::uint32_t line = 1; line <= lines.size(); ++line) {
            auto length = static_cast<std::uint32_t>(lines[line - 1].size());
            for (std::uint32_t column = 1; column <= length; column += step) {
                ASSERT_TRUE(file.readTo(out_, line, column)) << line << ":" << column;
                read += out_;
            }
            ASSERT_TRUE(file.readTo(out_, line, length + 1));
            read += out_;
        }
        ASSERT_TRUE(file.readRest(out_));
        read += out_;
        EXPECT_EQ(read, text) << "step " << step;
        file.close();
    }
    EXPECT_EQ(log_.text(), "");
}

// A column past the end of a line is reported, and reading goes on at the
// next line, whether the bytes after the line end are in the buffer or the
// line end straddles the buffer's end.
TEST_F(RcFileTest, ColumnPastTheLineEndIsReportedAtAndBeforeTheBufferEnd) {
    constexpr std::size_t kBuffer = platform::kStreamBufferSize;
    CRCFile& inBuffer = open("ab\r\n" + lettersOfLength(100) + "\r\n");
    ASSERT_TRUE(inBuffer.readTo(out_, 1, 2));
    EXPECT_FALSE(inBuffer.readTo(out_, 1, 10));
    EXPECT_EQ(inBuffer.currentLine(), 2u);
    EXPECT_EQ(inBuffer.currentColumn(), 1u);
    ASSERT_TRUE(inBuffer.readTo(out_, 2, 3));
    EXPECT_EQ(out_, "ab");
    inBuffer.close();
    CRCFile& atEnd = open(lettersOfLength(kBuffer - 1) + "\r\nnext\r\n");
    ASSERT_TRUE(atEnd.readTo(out_, 1, kBuffer - 3));
    EXPECT_FALSE(atEnd.readTo(out_, 1, kBuffer + 2));
    EXPECT_EQ(atEnd.currentLine(), 2u);
    EXPECT_EQ(atEnd.currentColumn(), 1u);
    ASSERT_TRUE(atEnd.readTo(out_, 2, 3));
    EXPECT_EQ(out_, "ne");
    EXPECT_EQ(log_.text(),
              "\n[1]  Line 1 does not contain 10 characters!\n"
              "\n[2]  Line 1 does not contain " +
                  std::to_string(kBuffer + 2) + " characters!\n");
}

// The bytes ahead of the current position as the buffer holds them, for
// text up to a later position: on the current line its length is given, on
// a later line the count of line ends before it; nothing is read until
// skipped, and nothing is reported.
TEST_F(RcFileTest, TextAheadAsBuffered) {
    CRCFile& file = open("abc<t>def\r\nxyz");
    EXPECT_FALSE(file.peekAhead(1, 4)) << "nothing buffered yet";
    ASSERT_TRUE(file.readTo(out_, 1, 2));
    EXPECT_EQ(out_, "a");
    std::optional<CRCFile::Ahead> ahead = file.peekAhead(1, 4);
    ASSERT_TRUE(ahead);
    EXPECT_EQ(ahead->bytes, "bc<t>def\r\nxyz") << "up to the end of the buffered bytes";
    EXPECT_EQ(ahead->lineEnds, 0u);
    EXPECT_EQ(ahead->size, 2u);
    EXPECT_EQ(file.currentColumn(), 2u) << "peeking reads nothing";
    EXPECT_FALSE(file.peekAhead(1, 1)) << "behind";
    ahead = file.peekAhead(2, 3);
    ASSERT_TRUE(ahead);
    EXPECT_EQ(ahead->lineEnds, 1u);
    file.skipAhead(12, 2, 3);
    EXPECT_EQ(file.currentLine(), 2u);
    EXPECT_EQ(file.currentColumn(), 3u);
    ASSERT_TRUE(file.readTo(out_, 2, 4));
    EXPECT_EQ(out_, "z");
    EXPECT_EQ(log_.text(), "");
}

// Where text that crosses line ends stops in buffered bytes: each line end
// must be LF or CR LF, and the last line must reach the column without one.
TEST_F(RcFileTest, LengthToAColumnAfterLineEnds) {
    auto length = [](std::string_view bytes, std::uint32_t lineEnds, std::uint32_t column) {
        std::optional<std::size_t> size = CRCFile::lengthToColumn(bytes, lineEnds, column);
        return size ? static_cast<long>(*size) : -1L;
    };
    EXPECT_EQ(length("ab\ncd\r\nef", 2, 2), 8);
    EXPECT_EQ(length("ab\ncd\r\nef", 2, 3), 9) << "up to the end of the bytes";
    EXPECT_EQ(length("ab\ncd\r\nef", 2, 4), -1) << "beyond the bytes";
    EXPECT_EQ(length("ab\ncd\r\nef", 1, 4), -1) << "a line end before the column";
    EXPECT_EQ(length("ab\ncd\r\nef", 3, 1), -1) << "too few line ends";
    EXPECT_EQ(length("ab\rcd\nef", 1, 1), -1) << "a lone CR";
    EXPECT_EQ(length("ab\r\r\nef", 1, 1), -1) << "a CR before a CR LF";
    EXPECT_EQ(length("a\x1A\nb", 1, 1), -1) << "Ctrl-Z";
    EXPECT_EQ(length("a\nb", 1, 0), -1) << "no column 0";
    EXPECT_EQ(length("a\n", 1, 1), 2);
}

// The bytes the reader stops at within a line.
TEST_F(RcFileTest, LineEndsInTextAreFound) {
    EXPECT_FALSE(CRCFile::holdsLineEnd(""));
    EXPECT_FALSE(CRCFile::holdsLineEnd("plain text of more than one chunk {\\}"));
    EXPECT_TRUE(CRCFile::holdsLineEnd("a\nb"));
    EXPECT_TRUE(CRCFile::holdsLineEnd("a lone carriage return\r"));
    EXPECT_TRUE(CRCFile::holdsLineEnd(std::string_view("\x1A", 1)));
}

TEST_F(RcFileTest, PositionsBehindOrBeyondTheFileAreReported) {
    CRCFile& file = open("abc\nde\n");
    ASSERT_TRUE(file.readTo(out_, 1, 3));
    EXPECT_FALSE(file.readTo(out_, 1, 2));
    ASSERT_TRUE(file.readTo(out_, 2, 1));
    EXPECT_FALSE(file.readTo(out_, 1, 1));
    EXPECT_FALSE(file.readTo(out_, 2, 9));
    EXPECT_EQ(file.currentLine(), 3u);
    EXPECT_EQ(file.currentColumn(), 1u);
    EXPECT_FALSE(file.readTo(out_, 3, 2));
    EXPECT_FALSE(file.readTo(out_, 7, 1));
    std::string name = dir_.file("in.txt");
    EXPECT_EQ(log_.text(),
              "\n[1]  Character 2 on line 1 has already been read - current offset is 3.\n"
              "\n[2]  Line 1 has already been read - current line is 2.\n"
              "\n[3]  Line 2 does not contain 9 characters!\n"
              "\n[4]  Unexpected End of File in " +
                  name +
                  ". Line 3 does not contain 2 characters!\n"
                  "\n[5]  Unexpected End of File in " +
                  name + ". This file does not contain 7 lines!");
}

TEST_F(RcFileTest, OpenFailuresAreReportedAndThrown) {
    CRCFile input;
    EXPECT_THROW(input.open(dir_.file("none.txt"), CRCFile::Direction::Input, true),
                 CFileException);
    test::writeFile(dir_.file("plain"), "x");
    CRCFile output;
    try {
        output.open(dir_.file("plain/sub/out.rtf"), CRCFile::Direction::Output, true);
        FAIL() << "a folder under a file cannot be made";
    } catch (const CFileException& error) {
        EXPECT_EQ(error.cause(), CFileException::kBadPath);
    }
    std::string logged = log_.text();
    EXPECT_NE(logged.find("[1]  File Error! Could not open the input file "), std::string::npos);
    EXPECT_NE(logged.find("[2]  Error: Not a directory, " + dir_.file("plain/sub/")),
              std::string::npos);
    CRCFile written;
    written.open(dir_.file("w.txt"), CRCFile::Direction::Output, true);
    EXPECT_FALSE(written.readTo(out_, 1, 1)) << "an output file cannot be read";
    written.write("a\nb");
    EXPECT_TRUE(written.close());
    EXPECT_EQ(test::readFile(dir_.file("w.txt")), "a\r\nb");
}

TEST(ConverterLog, NothingIsWrittenWithoutALogAndUnusedReferencesAreSkipped) {
    setCurrentConverterLog(nullptr);
    reportMessage("lost\n", kMessageFile);
    EXPECT_EQ(converterLogEntryCount(), 0);
    test::TempDir dir;
    test::ConverterLogCapture log(dir);
    CTextPiece piece("x", 1, 1, 1, 2, 0);
    reportMessage("m\n", kMessageParseError, {{5, &piece}, {0, nullptr}, {2, &piece}});
    EXPECT_EQ(converterLogEntryCount(), 1);
    EXPECT_EQ(log.text(), "\n[1]  m\n-  \n");
}

}  // namespace
}  // namespace tessel::dtp
