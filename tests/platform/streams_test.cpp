#include "platform/streams.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>
#include <vector>

#include "support/temp_dir.h"

namespace tessel::platform {
namespace {

using test::TempDir;

std::string readAll(const std::string& path, StreamMode mode, bool stopAtCtrlZ = false) {
    InputStream in;
    EXPECT_TRUE(in.open(path, mode, stopAtCtrlZ));
    std::string text;
    for (int c = in.get(); c >= 0; c = in.get()) text += static_cast<char>(c);
    return text;
}

// The text of `path` in text mode, read by bulk requests of `request` bytes.
std::string readInRequests(const std::string& path, bool stopAtCtrlZ, std::size_t request) {
    InputStream in;
    EXPECT_TRUE(in.open(path, StreamMode::Text, stopAtCtrlZ));
    std::string text;
    std::vector<char> buffer(request);
    while (std::size_t n = in.read(buffer.data(), request)) text.append(buffer.data(), n);
    return text;
}

std::string writeAll(const TempDir& dir, std::string_view text, StreamMode mode) {
    std::string path = dir.file("out");
    OutputStream out;
    EXPECT_TRUE(out.open(path, mode));
    out.write(text);
    EXPECT_TRUE(out.close());
    return test::readFile(path);
}

TEST(TextModeRead, TurnsCrLfIntoLfAndKeepsLoneCarriageReturns) {
    TempDir dir;
    auto path = dir.write("in", std::string("a\r\nb\rc\n\r\r\nd\0e", 12));
    EXPECT_EQ(readAll(path, StreamMode::Text), std::string("a\nb\rc\n\r\nd\0e", 10));
    EXPECT_EQ(readAll(path, StreamMode::Binary).size(), 12u);
}

TEST(TextModeRead, PairSplitAcrossTheBufferBoundaryIsStillOneLineFeed) {
    TempDir dir;
    std::string text(kStreamBufferSize - 1, 'x');
    text += "\r\nend\r";
    auto path = dir.write("in", text);
    std::string expected(kStreamBufferSize - 1, 'x');
    expected += "\nend\r";
    EXPECT_EQ(readAll(path, StreamMode::Text), expected);
}

TEST(TextModeRead, CtrlZEndsTheDataOnlyWhenAsked) {
    TempDir dir;
    auto path = dir.write("in",
                          "ab\x1A"
                          "cd");
    EXPECT_EQ(readAll(path, StreamMode::Text, true), "ab");
    EXPECT_EQ(readAll(path, StreamMode::Text, false),
              "ab\x1A"
              "cd");
}

// Bulk reads take the bytes before a CR (or a Ctrl-Z that ends the data) a
// chunk at a time: any request size over text with those bytes at every
// offset must give what reading byte by byte gives.
TEST(TextModeRead, BulkReadsStopAtEveryOffsetOfAChunk) {
    TempDir dir;
    std::mt19937 random(16);
    const char pieces[] = {'\r', '\n', '\x1A', 'a', 'b', 'c', 'd', 'e'};
    for (int round = 0; round < 40; ++round) {
        std::string text;
        const std::size_t size = random() % 300;
        for (std::size_t i = 0; i < size; ++i) {
            // Long plain runs, so that whole chunks are taken.
            text += random() % 6 == 0 ? pieces[random() % 3] : pieces[3 + random() % 5];
        }
        auto path = dir.write("in", text);
        for (bool stopAtCtrlZ : {false, true}) {
            const std::string expected = readAll(path, StreamMode::Text, stopAtCtrlZ);
            const std::size_t request = 1 + random() % 64;
            ASSERT_EQ(readInRequests(path, stopAtCtrlZ, request), expected)
                << "round " << round << ", request " << request;
        }
    }
}

// Lines with CR LF ends, read in requests that span many of them: each
// pair inside a request is taken within the bulk copy, and pairs split by a
// request's or the buffer's end, lone CRs and Ctrl-Z still give what reading
// byte by byte gives.
TEST(TextModeRead, BulkReadsTakeTheCrLfPairsInsideARequest) {
    TempDir dir;
    std::mt19937 random(613);
    std::string text;
    while (text.size() < 3 * kStreamBufferSize) {
        text += std::string(random() % 40, static_cast<char>('a' + random() % 26));
        const unsigned end = random() % 20;
        text += end == 0 ? "\r" : end == 1 ? "\r\r\n" : end == 2 ? "\x1A\r\n" : "\r\n";
    }
    auto path = dir.write("in", text);
    for (bool stopAtCtrlZ : {false, true}) {
        const std::string expected = readAll(path, StreamMode::Text, stopAtCtrlZ);
        ASSERT_LT(expected.size(), stopAtCtrlZ ? kStreamBufferSize : text.size());
        for (std::size_t request : {std::size_t{17}, std::size_t{100}, std::size_t{4096},
                                    kStreamBufferSize, text.size()}) {
            EXPECT_EQ(readInRequests(path, stopAtCtrlZ, request), expected)
                << "request " << request << " stop " << stopAtCtrlZ;
        }
    }
}

TEST(TextModeRead, BulkReadAndPushBackAgreeWithGet) {
    TempDir dir;
    auto path = dir.write("in", "one\r\ntwo");
    InputStream in;
    ASSERT_TRUE(in.open(path, StreamMode::Text));
    EXPECT_EQ(in.get(), 'o');
    in.unget('o');
    char buffer[16];
    std::size_t n = in.read(buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, n), "one\ntwo");
    EXPECT_TRUE(in.atEnd());
}

// Whole buffered lines are taken as get() reads them, up to the first line
// that needs byte-by-byte reading: a lone CR, Ctrl-Z that ends the data, a
// pushed-back byte, a line not wholly in the buffer, or binary mode.
TEST(TextModeRead, BufferedLinesStopWhereGetMustTakeOver) {
    TempDir dir;
    auto lines = [&](std::string_view bytes, std::size_t count, bool stopAtCtrlZ = false) {
        InputStream in;
        EXPECT_TRUE(in.open(dir.write("in", bytes), StreamMode::Text, stopAtCtrlZ));
        EXPECT_TRUE(in.skipIf('<'));  // fills the buffer
        std::string out = "|";
        std::size_t taken = in.appendBufferedLines(out, count);
        std::string rest;
        for (int c = in.get(); c >= 0; c = in.get()) rest += static_cast<char>(c);
        return std::to_string(taken) + out + "|" + rest;
    };
    EXPECT_EQ(lines("<a\nbb\r\n\ncc\rd\ne", 9), "3|a\nbb\n\n|cc\rd\ne");
    EXPECT_EQ(lines("<a\r\nb\nc\n", 2), "2|a\nb\n|c\n") << "no more than asked";
    EXPECT_EQ(lines("<a\nb\r\r\nc", 5), "1|a\n|b\r\nc") << "a CR before a CR LF";
    EXPECT_EQ(lines("<a\nlast", 5), "1|a\n|last") << "the last line has no end";
    EXPECT_EQ(lines("<a\x1A\nb\n", 5, true), "0||a") << "Ctrl-Z ends the data";
    EXPECT_EQ(lines("<a\x1A\nb\n", 5, false), "2|a\x1A\nb\n|");

    std::string longLine(kStreamBufferSize - 2, 'x');
    EXPECT_EQ(lines("<" + longLine + "\r\nz\n", 5), "0||" + longLine + "\nz\n")
        << "a CR LF split by the buffer's end";

    InputStream in;
    ASSERT_TRUE(in.open(dir.write("in", "a\nb\n"), StreamMode::Text));
    EXPECT_EQ(in.get(), 'a');
    in.unget('a');
    std::string out;
    EXPECT_EQ(in.appendBufferedLines(out, 5), 0u) << "pushed back";
    InputStream binary;
    ASSERT_TRUE(binary.open(dir.write("in", "<a\nb\n"), StreamMode::Binary));
    EXPECT_TRUE(binary.skipIf('<'));
    EXPECT_EQ(binary.appendBufferedLines(out, 5), 0u) << "binary mode";
    EXPECT_EQ(out, "");
}

TEST(TextModeRead, BulkReadsOfEverySizeGiveWhatGetGives) {
    TempDir dir;
    // CR LF pairs split at the buffer boundary, lone CRs (one at the very
    // end), a Ctrl-Z in the middle and long plain runs.
    std::string text(kStreamBufferSize - 1, 'p');
    text += "\r\nq\rr\r\r\n";
    text += std::string(kStreamBufferSize + 100, 's');
    text += "\x1A";
    text += std::string(50, 't') + "\r\n\r";
    auto path = dir.write("in", text);
    for (bool stopAtCtrlZ : {false, true}) {
        std::string expected = readAll(path, StreamMode::Text, stopAtCtrlZ);
        for (std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{4096},
                                  kStreamBufferSize, text.size() + 10}) {
            EXPECT_EQ(readInRequests(path, stopAtCtrlZ, chunk), expected)
                << "chunk " << chunk << " stop " << stopAtCtrlZ;
        }
    }
}

// Large binary reads go past the buffer into the caller's memory; mixed with
// small ones that leave part of a buffer behind, they still give the file.
TEST(BinaryRead, ReadsOfMixedSizesGiveTheFile) {
    TempDir dir;
    std::string bytes;
    for (std::size_t i = 0; i < 3 * kStreamBufferSize + 12345; ++i) {
        bytes += static_cast<char>((i * 7919) % 251);
    }
    auto path = dir.write("in", bytes);
    for (std::size_t first : {std::size_t{0}, std::size_t{1}, std::size_t{5000}}) {
        InputStream in;
        ASSERT_TRUE(in.open(path, StreamMode::Binary));
        std::string got;
        std::vector<char> buffer(2 * kStreamBufferSize);
        const std::size_t sizes[] = {first, kStreamBufferSize,    3, 70000, 4096,
                                     4095,  2 * kStreamBufferSize};
        for (std::size_t round = 0;; ++round) {
            std::size_t want = sizes[round % std::size(sizes)];
            std::size_t n = in.read(buffer.data(), want);
            got.append(buffer.data(), n);
            if (want != 0 && n == 0) break;
        }
        EXPECT_EQ(got, bytes) << "first read " << first;
        EXPECT_FALSE(in.failed());
    }
}

TEST(OpenFailures, MissingFilesAndFoldersCannotBeOpenedForReading) {
    TempDir dir;
    InputStream in;
    EXPECT_FALSE(in.open(dir.file("missing"), StreamMode::Text));
    EXPECT_FALSE(in.open(dir.path().string(), StreamMode::Text));
    OutputStream out;
    EXPECT_FALSE(out.open(dir.file("no/such/folder/x"), StreamMode::Text));
}

TEST(TextModeWrite, TurnsEveryLineFeedIntoCrLf) {
    TempDir dir;
    EXPECT_EQ(writeAll(dir, "a\nb\rc\n\n", StreamMode::Text), "a\r\nb\rc\r\n\r\n");
    EXPECT_EQ(writeAll(dir, "a\nb", StreamMode::Binary), "a\nb");
}

TEST(TextModeWrite, LongTextCrossesTheBufferIntact) {
    TempDir dir;
    std::string line(kStreamBufferSize * 3 + 17, 'y');
    line += '\n';
    std::string expected = line.substr(0, line.size() - 1) + "\r\n";
    EXPECT_EQ(writeAll(dir, line, StreamMode::Text), expected);
}

// Writes of every length, with line feeds at every offset of the chunks the
// writer copies at once and CR LF pairs split over the buffer's end, give
// the text with each LF as CR LF.
TEST(TextModeWrite, ManyWritesOfEveryLengthAcrossTheBuffer) {
    TempDir dir;
    std::string path = dir.file("out");
    OutputStream out;
    ASSERT_TRUE(out.open(path, StreamMode::Text));
    std::mt19937 random(1209);
    std::string expected;
    while (expected.size() < 3 * kStreamBufferSize) {
        std::string piece(random() % 50, 'x');
        for (char& c : piece) c = "abc\n\r"[random() % (random() % 4 == 0 ? 5 : 3)];
        out.write(piece);
        for (char c : piece) expected += c == '\n' ? "\r\n" : std::string(1, c);
    }
    ASSERT_TRUE(out.close());
    EXPECT_EQ(test::readFile(path), expected);
}

TEST(TextModeWrite, PrintfFormatsLongTexts) {
    TempDir dir;
    std::string path = dir.file("out");
    OutputStream out;
    ASSERT_TRUE(out.open(path, StreamMode::Text));
    std::string word(1000, 'w');
    out.printf("[%d] %s\n", 7, word.c_str());
    ASSERT_TRUE(out.close());
    EXPECT_EQ(test::readFile(path), "[7] " + word + "\r\n");
}

// A job deletes the original behind an in-place conversion only when the
// output on disk is still the complete file it wrote.
TEST(WrittenOutput, IsCompleteOnlyWhileItIsTheSameWholeFile) {
    TempDir dir;
    std::string path = dir.file("out.txt");
    auto written = [&](auto&& afterClose) {
        OutputStream out;
        EXPECT_TRUE(out.open(path, StreamMode::Text));
        out.write("two\nlines\n");
        EXPECT_TRUE(out.close());
        EXPECT_EQ(out.bytesWritten(), 12u);
        afterClose();
        return out.wroteCompletely(path);
    };
    EXPECT_TRUE(written([] {}));
    EXPECT_FALSE(written([&] { std::filesystem::remove(path); }));
    EXPECT_FALSE(written([&] { std::filesystem::resize_file(path, 5); }));
    EXPECT_FALSE(written([&] {
        // Replaced by another file of the same size under the same name.
        test::writeFile(dir.file("other"), "two\r\nlines\r\n");
        std::filesystem::rename(dir.file("other"), path);
    }));
}

TEST(RegularInput, FoldersAndFifosAreRefusedWithoutWaiting) {
    TempDir dir;
    InputStream in;
    EXPECT_FALSE(in.open(dir.path().string(), StreamMode::Text));
#ifdef _WIN32
    // Windows has no FIFOs in its file system; its device names are the
    // inputs that never end.
    EXPECT_FALSE(in.open("NUL", StreamMode::Binary));
    EXPECT_FALSE(in.open("CON", StreamMode::Text));
#else
    std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(in.open(fifo, StreamMode::Binary));
#endif
    EXPECT_TRUE(in.open(dir.write("plain", "x"), StreamMode::Binary));
}

}  // namespace
}  // namespace tessel::platform
