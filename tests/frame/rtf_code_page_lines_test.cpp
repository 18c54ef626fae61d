// Paragraphs handed on as bytes of the sink's code page: the reader keeps a
// paragraph in that page while all its characters come from its bytes, and
// the text must read the same as the UTF-8 it hands on otherwise; the line
// writer takes such paragraphs without encoding them, and must write the
// same file as from UTF-8.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/error_log.h"
#include "frame/job_state.h"
#include "frame/return_codes.h"
#include "frame/rtf_byte_source.h"
#include "frame/rtf_line_writer.h"
#include "frame/rtf_reader.h"
#include "platform/code_page_codec.h"
#include "platform/streams.h"
#include "support/temp_dir.h"

namespace {

using tessel::frame::MemoryByteSource;
using tessel::frame::RtfParagraphSink;
using tessel::frame::RtfReader;
using tessel::platform::CodePageCodec;

struct Paragraph {
    std::string utf8;  // the text, whichever way it came
    bool asBytes;
};

// Asks for `codePage` and notes how each paragraph came.
class CodePageSink final : public RtfParagraphSink {
  public:
    explicit CodePageSink(const CodePageCodec* codePage) : codePage_(codePage) {}
    int paragraph(std::string& line, bool /*lineEnd*/) override {
        paragraphs.push_back({line, false});
        return 0;
    }
    const CodePageCodec* textCodePage() const override { return codePage_; }
    int paragraphInCodePage(std::string& line, const CodePageCodec& codePage,
                            bool /*lineEnd*/) override {
        EXPECT_EQ(&codePage, codePage_);
        bytes.push_back(line);
        std::string utf8;
        codePage.appendSingleByteUtf8(line, utf8);
        paragraphs.push_back({utf8, true});
        return 0;
    }
    std::vector<Paragraph> paragraphs;
    std::vector<std::string> bytes;

  private:
    const CodePageCodec* codePage_;
};

// Reads `rtf` in UTF-8 only and with `codePage` asked for: the texts must
// be the same. Returns the second reading.
CodePageSink readBothWays(std::string_view rtf, const CodePageCodec* codePage,
                          std::size_t chunk = 0) {
    MemoryByteSource utf8Source(rtf);
    CodePageSink utf8Sink(nullptr);
    RtfReader utf8Reader(utf8Source, utf8Sink);
    int utf8Result = utf8Reader.read();

    // A source that hands over `chunk` bytes per call (0: all it is asked).
    class ChunkSource final : public tessel::frame::RtfByteSource {
      public:
        ChunkSource(std::string_view bytes, std::size_t chunk) : rest_(bytes), chunk_(chunk) {}
        std::size_t read(char* out, std::size_t n) override {
            std::size_t take = std::min({n, rest_.size(), chunk_ == 0 ? n : chunk_});
            std::copy_n(rest_.data(), take, out);
            rest_.remove_prefix(take);
            return take;
        }

      private:
        std::string_view rest_;
        std::size_t chunk_;
    } source(rtf, chunk);
    CodePageSink sink(codePage);
    RtfReader reader(source, sink);
    EXPECT_EQ(reader.read(), utf8Result) << rtf;
    EXPECT_EQ(sink.paragraphs.size(), utf8Sink.paragraphs.size()) << rtf;
    for (std::size_t i = 0; i < std::min(sink.paragraphs.size(), utf8Sink.paragraphs.size()); ++i) {
        EXPECT_EQ(sink.paragraphs[i].utf8, utf8Sink.paragraphs[i].utf8) << rtf << " #" << i;
    }
    return sink;
}

const CodePageCodec& page(int codePage) {
    return *CodePageCodec::find(codePage);
}

// After the first paragraph, text of the page's bytes ("\'xx", 8-bit text,
// character words) stays bytes; anything else turns the paragraph into UTF-8.
TEST(RtfCodePageLines, BytesOfThePageStayBytes) {
    const CodePageCodec& w1252 = CodePageCodec::windows1252();
    CodePageSink sink = readBothWays(
        "{\\rtf1\\ansi caf\xE9\\par d\xE9j\\'e0 \\ldblquote x\\rdblquote\\tab\\{\\}\\par \\par "
        "a\\u8364?b\\par \\u233?\\par last}",
        &w1252);
    ASSERT_EQ(sink.paragraphs.size(), 6u);
    EXPECT_FALSE(sink.paragraphs[0].asBytes);  // the sink is asked after a paragraph
    EXPECT_TRUE(sink.paragraphs[1].asBytes);
    EXPECT_TRUE(sink.paragraphs[2].asBytes);  // empty
    EXPECT_FALSE(sink.paragraphs[3].asBytes);
    EXPECT_FALSE(sink.paragraphs[4].asBytes);
    EXPECT_TRUE(sink.paragraphs[5].asBytes);  // ended by the document, no mark
    ASSERT_EQ(sink.bytes.size(), 3u);
    EXPECT_EQ(sink.bytes[0], "d\xE9j\xE0 \x93x\x94\t{}");
    EXPECT_EQ(sink.bytes[1], "");
    EXPECT_EQ(sink.bytes[2], "last");
}

// Text of another page, of a symbol font or held back (a six-per-em space,
// a lone surrogate, a lead byte) leaves the bytes before it readable.
TEST(RtfCodePageLines, OtherCharactersTurnTheParagraphIntoUtf8) {
    const CodePageCodec& w1252 = CodePageCodec::windows1252();
    const std::string fonts =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset204 B;}"
        "{\\f2\\fcharset2 Symbol;}{\\f3\\fcharset128 C;}}x\\par ";
    for (const char* body :
         {"\xE9{\\f1 ab\xE9\\'e9}\xE9\\par ", "\xE9{\\f1 ascii}\xE9\\par ",
          "\xE9{\\f2 \xB7}\xE9\\par ", "\xE9{\\f3 \x82\xA0\\'82}\xE9\\par ",
          "a\\u8198? b\\u8198?c\\u8198?\\par ", "\xE9\\u55357?\xE9\\par ",
          "\xE9\\uc0\\u8212\xE9{\\v hidden\xE9}\\par ", "{\\*\\x \xE9}\xE9\\par "}) {
        readBothWays(fonts + body + "}", &w1252);
    }
    // A double-byte page is never asked for as bytes.
    CodePageSink sink = readBothWays(fonts + "\xE9\\par \xE9}", &page(932));
    EXPECT_TRUE(sink.bytes.empty());
}

// Runs of the page's bytes across the ends of the input buffer and of the
// words a load reads, with raw line ends (which are no text) of every kind.
TEST(RtfCodePageLines, BufferEndsAndLineEnds) {
    const CodePageCodec& w1252 = CodePageCodec::windows1252();
    std::string rtf = "{\\rtf1\\ansi x\\par ";
    for (int i = 0; i < 3000; ++i) {
        rtf += "ab\xE9\xFB\xFF~|cdefgh\r\nij\rkl\nmn";
        if (i % 7 == 0) rtf += "\\par ";
        if (i % 11 == 0) rtf += "{\\b \\'e8}";
    }
    rtf += "}";
    for (std::size_t chunk : {0, 1, 7, 4093}) {
        CodePageSink sink = readBothWays(rtf, &w1252, chunk);
        EXPECT_GT(sink.bytes.size(), 400u) << chunk;
    }
    readBothWays("{\\rtf1 x\\par \xE9", &w1252, 1);  // truncated
    readBothWays("{\\rtf1 x\\par \xE9}}", &w1252);   // a brace too many
}

// Reading the paragraphs in another single-byte page: its bytes, and the
// character words (Windows 1252 bytes) read as UTF-8.
TEST(RtfCodePageLines, AnotherSingleBytePage) {
    const CodePageCodec& w1251 = page(1251);
    CodePageSink sink = readBothWays(
        "{\\rtf1\\ansi\\ansicpg1251 x\\par \xE0\\'e1\\par \xE0\\ldblquote\\par \\tab a}", &w1251);
    ASSERT_EQ(sink.bytes.size(), 2u);
    EXPECT_EQ(sink.bytes[0], "\xE0\xE1");
    EXPECT_EQ(sink.bytes[1], "\ta");
}

// Styles are offsets into UTF-8: with an observer, no paragraph comes as bytes.
TEST(RtfCodePageLines, ObservedStylesKeepUtf8) {
    class Observer final : public tessel::frame::RtfStyleObserver {
      public:
        void characterStyle(std::int32_t style, std::size_t offset) override {
            changes.push_back({style, offset});
        }
        std::vector<std::pair<std::int32_t, std::size_t>> changes;
    } observer;
    std::string rtf = "{\\rtf1 x\\par \xE9\xE9{\\cs5 a}b\\par}";
    MemoryByteSource source(rtf);
    CodePageSink sink(&CodePageCodec::windows1252());
    RtfReader reader(source, sink);
    reader.observeStyles(&observer);
    EXPECT_EQ(reader.read(), 0);
    EXPECT_TRUE(sink.bytes.empty());
    ASSERT_EQ(observer.changes.size(), 2u);
    EXPECT_EQ(observer.changes[0].second, 4u);  // after two two-byte characters
}

// Hands the line writer UTF-8 only, as any other sink would.
class Utf8Only final : public RtfParagraphSink {
  public:
    explicit Utf8Only(RtfParagraphSink& writer) : writer_(writer) {}
    int paragraph(std::string& line, bool lineEnd) override {
        return writer_.paragraph(line, lineEnd);
    }
    void documentCodePage(int codePage) override { writer_.documentCodePage(codePage); }

  private:
    RtfParagraphSink& writer_;
};

std::string writeLines(const tessel::test::TempDir& dir, const std::string& name,
                       std::string_view rtf, int functionCode, int chosenCodePage, bool direct,
                       bool* tookBytes = nullptr) {
    // Messages are numbered per job.
    tessel::frame::jobState().reset();
    tessel::frame::ErrorLog log;
    EXPECT_TRUE(log.open(dir.file(name + ".err")));
    tessel::platform::OutputStream output;
    EXPECT_TRUE(output.open(dir.file(name), tessel::platform::StreamMode::Text));
    int changes = 0;
    tessel::frame::RtfLineWriter writer(functionCode, {}, log, output, changes, chosenCodePage);
    Utf8Only utf8(writer);
    MemoryByteSource source(rtf);
    RtfReader reader(source, direct ? static_cast<RtfParagraphSink&>(writer) : utf8);
    EXPECT_EQ(reader.read(), 0);
    EXPECT_EQ(writer.finish(), 0);
    if (tookBytes != nullptr) *tookBytes = writer.textCodePage() != nullptr;
    output.close();
    log.close();
    return tessel::test::readFile(dir.file(name)) + "|log|" +
           tessel::test::withoutDate(tessel::test::readFile(dir.file(name + ".err")));
}

// The writer's output from bytes is the one from UTF-8, for targets that
// take bytes and for those that do not (UTF-8, double-byte pages).
TEST(RtfCodePageLines, LineWriterWritesTheSameFromBytes) {
    using namespace tessel::frame;
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f1\\fcharset2 Symbol;}}first\\par "
        "\xE0\xE9\\'81\\'ff\\ldblquote\\par \\par\\line x\\u1049?\\par {\\f1 \xB7}\\par "
        "\\u322 l\\par end\xE0}";
    struct Target {
        int functionCode;
        int chosenCodePage;
        bool takesBytes;
    };
    for (Target target :
         {Target{kRtfToText, 0, true}, Target{kRtfToHtml, 0, true}, Target{kRtfToVentura4, 0, true},
          Target{kRtfToSgml, 0, true}, Target{kRtfToHtmlMultiLingual, 1251, true},
          Target{kRtfToHtmlMultiLingual, 65001, false},
          Target{kRtfToHtmlMultiLingual, 932, false}}) {
        tessel::test::TempDir dir;
        bool tookBytes = false;
        std::string direct = writeLines(dir, "direct", rtf, target.functionCode,
                                        target.chosenCodePage, true, &tookBytes);
        std::string fromUtf8 =
            writeLines(dir, "utf8", rtf, target.functionCode, target.chosenCodePage, false);
        EXPECT_EQ(direct, fromUtf8) << target.functionCode << " " << target.chosenCodePage;
        EXPECT_EQ(tookBytes, target.takesBytes) << target.functionCode;
    }
}

}  // namespace
