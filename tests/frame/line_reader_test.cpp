// Reading a text stream in chunks that end at a line end: the runs taken
// from the buffer must split the input exactly as reading it byte by byte.
#include "frame/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tessel::frame {
namespace {

using platform::InputStream;
using platform::StreamMode;

struct Chunk {
    std::string text;
    bool more;
    bool operator==(const Chunk&) const = default;
};

// The chunks, one byte at a time through get(): what readChunk must give.
std::vector<Chunk> chunksByteByByte(const std::string& path, bool ctrlZ) {
    InputStream input;
    EXPECT_TRUE(input.open(path, StreamMode::Text, ctrlZ));
    std::vector<Chunk> chunks;
    for (;;) {
        Chunk chunk{"", true};
        while (chunk.text.size() < LineReader::kChunkLimit) {
            int c = input.get();
            if (c < 0) {
                chunk.more = false;
                break;
            }
            if (c == '\n' || c == '\r') {
                if (c == '\n') input.skipIf('\r');
                chunk.text += '\n';
                break;
            }
            chunk.text += static_cast<char>(c);
        }
        chunks.push_back(chunk);
        if (!chunk.more) return chunks;
    }
}

std::vector<Chunk> chunksOfReader(const std::string& path, bool ctrlZ) {
    InputStream input;
    EXPECT_TRUE(input.open(path, StreamMode::Text, ctrlZ));
    LineReader reader(input);
    std::vector<Chunk> chunks;
    for (;;) {
        Chunk chunk{"", true};
        chunk.more = reader.readChunk(chunk.text);
        chunks.push_back(chunk);
        if (!chunk.more) return chunks;
    }
}

void expectSameChunks(const std::string& text, const char* what) {
    test::TempDir dir;
    const std::string path = dir.write("in", text);
    for (bool ctrlZ : {false, true}) {
        EXPECT_EQ(chunksOfReader(path, ctrlZ), chunksByteByByte(path, ctrlZ))
            << what << (ctrlZ ? " (Ctrl-Z ends the data)" : "");
    }
}

TEST(LineReader, EveryKindOfLineEndSplitsAsByteByByte) {
    expectSameChunks("", "empty input");
    expectSameChunks("a\nb\r\nc\rd\n\re\n\n\r\rf", "LF, CR LF, CR, LF CR, empty lines");
    expectSameChunks("\n", "a lone line feed");
    expectSameChunks("no line end", "a last line without one");
    expectSameChunks(std::string("a\0b\n\x1A\ncd", 9), "NUL and Ctrl-Z");
}

TEST(LineReader, LinesAtTheChunkLimit) {
    for (std::size_t length : {LineReader::kChunkLimit - 1, LineReader::kChunkLimit,
                               LineReader::kChunkLimit + 1, 2 * LineReader::kChunkLimit}) {
        const std::string line(length, 'x');
        expectSameChunks(line + "\n" + line + "\r\nend\n", "line feed after a long line");
        expectSameChunks(line + "\r" + line, "carriage return after a long line");
    }
}

TEST(LineReader, LineEndsAtTheEdgeOfTheStreamBuffer) {
    // The line feed as the last byte of one buffer fill, as the first byte of
    // the next, and split from the carriage return that follows it.
    for (std::size_t before : {platform::kStreamBufferSize - 2, platform::kStreamBufferSize - 1,
                               platform::kStreamBufferSize}) {
        std::string text;
        while (text.size() + 100 < before) text += std::string(99, 'y') + "\n";
        text += std::string(before - text.size(), 'z');
        expectSameChunks(text + "\n\rnext\n", "line feed at the buffer edge");
        expectSameChunks(text + "\r\nnext\n", "CR LF at the buffer edge");
    }
}

}  // namespace
}  // namespace tessel::frame
