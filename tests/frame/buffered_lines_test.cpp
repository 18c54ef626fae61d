// The character-set passes on whole lines of the input's buffer: what they
// take, and whole runs against the same runs line by line.
#include "frame/buffered_lines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "frame/execute_function.h"
#include "frame/job_state.h"
#include "frame/return_codes.h"
#include "frame/text_read_write_parser.h"
#include "resources/mac_tables.h"
#include "support/temp_dir.h"

namespace {

using tessel::frame::BufferedLines;
using tessel::frame::CaretTable;
using tessel::frame::characterSetTable;
using tessel::frame::convertBufferedLines;
using tessel::frame::kAnsiToMac;
using tessel::frame::kMacToAnsi;
using tessel::test::readFile;
using tessel::test::TempDir;
using tessel::test::withoutDate;

const CaretTable* macToAnsi() {
    return characterSetTable(kMacToAnsi);
}

BufferedLines take(std::string_view bytes, std::string& out, std::string_view lineEnd = "\r\n") {
    return convertBufferedLines(bytes, macToAnsi(), lineEnd, out);
}

TEST(BufferedLines, TakesEveryLineButTheLastWholeOne) {
    std::string out;
    // "\x8E" is e acute in the Macintosh set, "\xE9" in ANSI.
    BufferedLines lines = take("caf\x8E\r\nb\nc\rd\r\ne", out);
    EXPECT_EQ(lines.inputBytes, 10u) << "d and the piece after it wait for the line engine";
    EXPECT_EQ(std::string(out, 0, lines.outputBytes), "caf\xE9\r\nb\r\nc\r\n");
    EXPECT_EQ(lines.lines, 3u);

    // Without a table (the line-break pass) the bytes stay as they are.
    lines = convertBufferedLines("caf\x8E\r\nb\n\rc\r\nd\r\n", nullptr, "\r\n", out);
    EXPECT_EQ(std::string(out, 0, lines.outputBytes), "caf\x8E\r\nb\r\n");
    EXPECT_EQ(lines.lines, 2u);

    lines = take("one\ntwo\r\nthree\r\nfour", out, "\r");
    EXPECT_EQ(std::string(out, 0, lines.outputBytes), "one\rtwo\r");
    EXPECT_EQ(lines.inputBytes, 9u);
}

TEST(BufferedLines, StopsWhereTheLineEngineMustDecide) {
    std::string out;
    // A CR without the byte after it, and a LF whose next byte may be a CR
    // the reader would take with it, are line ends not yet known.
    EXPECT_EQ(take("a\r\nb\r\nc\r", out).inputBytes, 3u);
    EXPECT_EQ(take("a\r\nb\r\nc\n", out).inputBytes, 3u);
    // LF CR is one line end, CR CR LF two.
    BufferedLines lines = take("a\n\rb\r\r\nc\r\nd", out);
    EXPECT_EQ(std::string(out, 0, lines.outputBytes), "a\r\nb\r\n\r\n");
    // A line with a byte without a counterpart is the engine's to report;
    // the line before it could be the last one.
    const char unmapped = static_cast<char>(0xF0);  // the Apple logo
    ASSERT_EQ(tessel::resources::macToAnsiTable()[0xF0], tessel::resources::kNoCounterpart);
    lines = take(std::string("a\r\nb\r\nc\r\nd") + unmapped + "\r\ne\r\nf\r\n", out);
    EXPECT_EQ(std::string(out, 0, lines.outputBytes), "a\r\nb\r\n");
}

// A file of random lines: every kind of line end, long lines, lines across
// the stream's 64 KB buffer, bytes without a counterpart in `code`'s table
// now and then (or never), and sometimes a last piece without a line end.
std::string randomText(std::mt19937& random, std::size_t size, int code, bool unmapped) {
    const tessel::resources::ByteTable& table = code == kAnsiToMac
                                                    ? tessel::resources::ansiToMacTable()
                                                    : tessel::resources::macToAnsiTable();
    static const std::vector<std::string> kLineEnds = {"\r\n", "\r\n",   "\r\n",   "\n",  "\r",
                                                       "\n\r", "\r\r\n", "\r\n\r", "\n\n"};
    std::string text;
    while (text.size() < size) {
        std::size_t length = random() % 100;
        if (random() % 50 == 0) length = 3000 + random() % 6000;
        for (std::size_t i = 0; i < length; ++i) {
            unsigned byte = 0x20 + random() % 0xE0;
            if (random() % 400 == 0) byte = random() % 0x20;  // control bytes, NUL and Ctrl-Z too
            if (byte == '\r' || byte == '\n') byte = ' ';
            if (!unmapped && table[byte] == tessel::resources::kNoCounterpart) byte = 'm';
            text += static_cast<char>(byte);
        }
        text += kLineEnds[random() % kLineEnds.size()];
    }
    if (random() % 2 == 0) {
        // The line engine converts it together with the last line, which
        // a message about it then quotes too.
        text += "last piece";
        for (unsigned byte = 0x80; unmapped && byte < 0x100; ++byte) {
            if (table[byte] != tessel::resources::kNoCounterpart) continue;
            text += static_cast<char>(byte);
            break;
        }
    }
    return text;
}

struct Run {
    int result = 0;
    std::string output;
    std::string log;
};

// Runs the pass of `code` on `text` as doc.txt in `folder` of `dir`, whole
// lines of the buffer at once or line by line. The log is returned with its
// date and the folder's name left out.
Run runPass(const TempDir& dir, const std::string& folder, const std::string& text, int code,
            bool inBlocks) {
    std::filesystem::create_directories(dir.path() / folder);
    tessel::frame::LineJobFiles files;
    files.input = files.original = dir.write(folder + "/doc.txt", text);
    files.output = dir.file(folder + "/doc.out");
    files.log = dir.file(folder + "/doc.ERR");
    std::filesystem::remove(files.output);
    tessel::frame::jobState().reset();
    tessel::frame::LineOperation operation{code, tessel::frame::executeFrameFunction, inBlocks};
    Run run;
    run.result = tessel::frame::runLineJob(files, operation, false);
    run.output = readFile(files.output);
    if (tessel::test::exists(files.log)) {
        run.log = withoutDate(readFile(files.log));
        const std::string name = dir.file(folder);
        for (std::size_t at = run.log.find(name); at != std::string::npos;
             at = run.log.find(name, at)) {
            run.log.replace(at, name.size(), "<folder>");
        }
        std::filesystem::remove(files.log);
    }
    return run;
}

void expectSameRuns(const TempDir& dir, const std::string& text, int code) {
    const Run byLine = runPass(dir, "lines", text, code, false);
    const Run inBlocks = runPass(dir, "block", text, code, true);
    EXPECT_EQ(inBlocks.result, byLine.result);
    EXPECT_TRUE(inBlocks.output == byLine.output) << "outputs differ";
    EXPECT_TRUE(inBlocks.log == byLine.log) << inBlocks.log << "\n----\n" << byLine.log;
}

TEST(BufferedLines, WholeRunsWriteWhatTheLineEngineWrites) {
    TempDir dir;
    std::mt19937 random(1609);
    const int codes[] = {kMacToAnsi, kAnsiToMac, tessel::frame::kLineBreaksToPc};
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const int code = codes[round % 3];
        const bool unmapped = round % 6 < 3;
        expectSameRuns(dir, randomText(random, 150'000 + random() % 150'000, code, unmapped), code);
    }
}

TEST(BufferedLines, LineEndsAtTheEdgeOfTheBufferAreReadAsOneLineAtATime) {
    TempDir dir;
    const std::size_t kBuffer = 65536;
    for (const std::string lineEnd : {"\r\n", "\r", "\n", "\n\r", "\r\r\n"}) {
        for (std::size_t offset = kBuffer - 3; offset <= kBuffer + 1; ++offset) {
            SCOPED_TRACE("line end at " + std::to_string(offset));
            std::string text;
            while (text.size() + 40 < offset) text += std::string(37, 'x') + "\r\n";
            text += std::string(offset - text.size(), '\x8E') + lineEnd + "after\r\nend\r\n";
            expectSameRuns(dir, text, kMacToAnsi);
        }
    }
}

}  // namespace
