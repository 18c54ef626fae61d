// The RTF reader on documents held in memory: what reaches the text, what is
// dropped, the failure codes and the limits that keep bad input bounded.
#include "frame/rtf_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "frame/rtf_byte_source.h"

namespace {

using tessel::frame::MemoryByteSource;
using tessel::frame::RtfParagraphSink;
using tessel::frame::RtfReader;

// Writes every paragraph followed by "|" when it ended with a paragraph mark.
class CollectingSink final : public RtfParagraphSink {
  public:
    int paragraph(std::string& line, bool lineEnd) override {
        text += line;
        if (lineEnd) text += '|';
        ++calls;
        return failAt == calls ? failure : 0;
    }
    std::string text;
    int calls = 0;
    int failAt = -1;
    int failure = 0;
};

struct Read {
    int result;
    std::string text;
};

Read readRtf(std::string_view rtf) {
    MemoryByteSource source(rtf);
    CollectingSink sink;
    RtfReader reader(source, sink);
    int result = reader.read();
    return {result, sink.text};
}

// Hands the document over one byte per call, as a slow pipe would.
class TrickleSource final : public tessel::frame::RtfByteSource {
  public:
    explicit TrickleSource(std::string_view bytes) : rest_(bytes) {}
    std::size_t read(char* out, std::size_t n) override {
        if (n == 0 || rest_.empty()) return 0;
        *out = rest_.front();
        rest_.remove_prefix(1);
        return 1;
    }

  private:
    std::string_view rest_;
};

std::string body(std::string_view rtf) {
    Read read = readRtf(rtf);
    EXPECT_EQ(read.result, 0) << rtf;
    return read.text;
}

TEST(RtfReaderText, ParagraphsBecomeLinesAndTheLastNeedsNoMark) {
    EXPECT_EQ(body("{\\rtf1 abc\\par def}"), "abc|def");
    EXPECT_EQ(body("{\\rtf1 text\\par\\par}"), "text||");
    EXPECT_EQ(body("{\\rtf1 }"), "");
    // Raw line ends in the file are not text; one space after a word is its end.
    EXPECT_EQ(body("{\\rtf1 a\r\nb\nc\rd\\par  e}"), "abcd| e");
}

// The reader hands on UTF-8; the character words stand for Windows 1252 bytes.
TEST(RtfReaderText, ControlSymbolsAndCharacterWords) {
    EXPECT_EQ(body("{\\rtf1 \\{x\\}\\\\\\~}"), "{x}\\\u00A0");
    // A cell ends as a paragraph does (never as a lone CR).
    EXPECT_EQ(body("{\\rtf1 a\\tab b\\cell c}"), "a\tb|c");
    EXPECT_EQ(body("{\\rtf1 \\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\endash\\emdash}"),
              "\u2018\u2019\u201C\u201D\u2022\u2013\u2014");
    EXPECT_EQ(body("{\\rtf1 \\ltrmark\\rtlmark}"), "\u00FD\u00FE");
    // Backslash + line end is a paragraph mark in either line-end form;
    // backslash + lone carriage return is the byte 13.
    EXPECT_EQ(body("{\\rtf1 a\\\r\nb\\\nc\\\rd}"), "a|b|c\rd");
}

TEST(RtfReaderText, HexadecimalBytes) {
    EXPECT_EQ(body("{\\rtf1 caf\\'e9 \\'C9\\'00z}"), std::string("caf\u00E9 \u00C9\0z", 10));
    EXPECT_EQ(readRtf("{\\rtf1 \\'eg}").result, -404);
    EXPECT_EQ(readRtf("{\\rtf1 \\'x1}").result, -404);
    // A hex escape cut by the end of the file: the half byte is lost, nothing else.
    EXPECT_EQ(readRtf("{\\rtf1 ok}\\'e").result, 0);
    EXPECT_EQ(readRtf("{\\rtf1 ok}\\'e").text, "ok");
    EXPECT_EQ(readRtf("{\\rtf1 ok\\'e").result, -402);
    // A second escape starts afresh where the first one's digits stop.
    EXPECT_EQ(body("{\\rtf1 \\'f\\'ea b\\'e\\'e9c}"), "ê béc");
}

// "\\'" is read apart from the other control symbols: what a "\\*" before
// it began ends there, and in a dropped destination its digits are text
// that is dropped too.
TEST(RtfReaderText, HexadecimalBytesAfterAStarAndInDroppedText) {
    EXPECT_EQ(body("{\\rtf1 a{\\*\\'e9b}c}"), "a\u00E9bc");
    EXPECT_EQ(body("{\\rtf1 a{\\*\\'e9\\unknown b}c}"), "a\u00E9bc");
    EXPECT_EQ(body("{\\rtf1 a{\\*\\x \\'e9\\'zz}c}"), "ac");
    EXPECT_EQ(body("{\\rtf1 a{\\v \\'e9}c}"), "ac");
}

// The sink may change the line it is handed, or swap it for a string of
// its own: the next paragraph is read into the reader's own buffer and
// handed on whole, without bytes of what the sink left behind.
TEST(RtfReaderText, TheSinkMayChangeOrTakeTheLine) {
    class ChangingSink final : public RtfParagraphSink {
      public:
        int paragraph(std::string& line, bool lineEnd) override {
            lines += line + (lineEnd ? "|" : "");
            switch (calls++ % 3) {
                case 0:
                    line += std::string(5000, '#');
                    break;
                case 1:
                    kept.swap(line);
                    break;
                default:
                    line.clear();
                    break;
            }
            return 0;
        }
        std::string lines;
        std::string kept = "short";
        int calls = 0;
    };
    const std::string longText(6000, 'L');
    const std::string rtf = "{\\rtf1 one\\par " + longText + "\\par t\\'e9\\par \\par " + longText +
                            "\\'e9\\par x\\par caf\xE9}";
    MemoryByteSource source(rtf);
    ChangingSink sink;
    RtfReader reader(source, sink);
    EXPECT_EQ(reader.read(), 0);
    EXPECT_EQ(sink.lines, "one|" + longText + "|t\u00E9||" + longText + "\u00E9|x|caf\u00E9");
}

TEST(RtfReaderText, UnknownWordsAreIgnored) {
    EXPECT_EQ(body("{\\rtf1 \\nosuchword a\\b0 b\\fs20\\lang1024 c}"), "abc");
}

TEST(RtfReaderUnicode, CharactersAndTheirFallbacks) {
    // "?" fallbacks are skipped; negative numbers count from 65536.
    EXPECT_EQ(body("{\\rtf1 \\u321?\\u243?d\\u378?}"), "Łódź");
    EXPECT_EQ(body("{\\rtf1 \\u-3913?}"), "\uF0B7");
    // The skip count holds for its group; \uc0 has no fallback at all.
    EXPECT_EQ(body("{\\rtf1 {\\uc2 \\u26085\\'3f?}\\u26412?x}"), "日本x");
    EXPECT_EQ(body("{\\rtf1 \\uc0 \\u1055\\u1088 ok}"), "Прok");
    EXPECT_EQ(body("{\\rtf1 \\uc2\\u233 ??}"), "é");
    // A group end or a paragraph mark ends the fallback; neither is skipped.
    EXPECT_EQ(body("{\\rtf1 {\\uc3\\u321 ?}bc}"), "Łbc");
    EXPECT_EQ(body("{\\rtf1 \\u233\\par x}"), "é|x");
    // Surrogate pairs are one character; a lone half is U+FFFD.
    EXPECT_EQ(body("{\\rtf1 \\u-10179?\\u-8704?}"), "\U0001F600");
    EXPECT_EQ(body("{\\rtf1 \\u-10179?a}"), "\uFFFDa");
    // Hidden and dropped text skip their fallback too.
    EXPECT_EQ(body("{\\rtf1 a{\\v\\u321 L}b{\\*\\x \\u322 l}c}"), "abc");
}

TEST(RtfReaderUnicode, AnInformativeFallbackTravelsWithItsCharacter) {
    EXPECT_EQ(body("{\\rtf1 \\u321 L}"), "\uFFF9Ł\uFFFAL\uFFFB");
    EXPECT_EQ(body("{\\rtf1 {\\fonttbl{\\f1\\fcharset238 CE;}}\\f1\\uc2\\u8222\\'84\\'84}"),
              "\uFFF9„\uFFFA„„\uFFFB");
}

TEST(RtfReaderUnicode, SixPerEmSpaceBeforeASpaceIsThatSpace) {
    // LibreOffice writes each space of a run so: the run comes back as it was.
    EXPECT_EQ(body("{\\rtf1 a\\u8198\\'20 \\u8198\\'20 \\u8198\\'20 b}"), "a   b");
    EXPECT_EQ(body("{\\rtf1 {a\\u8198\\'20 }{\\u8198\\'20 b}}"), "a  b");
    // Alone it is a character like any other.
    EXPECT_EQ(body("{\\rtf1 x\\u8198\\'20y}"), "x\u2006y");
    EXPECT_EQ(body("{\\rtf1 x\\u8198\\'20\\par y\\u8198\\'20}"), "x\u2006|y\u2006");
}

TEST(RtfReaderUnicode, LineAndHyphenControls) {
    EXPECT_EQ(body("{\\rtf1 in\\line advance soft\\-hyphen nb\\_hyphen}"),
              "in\u2028advance soft\u00ADhyphen nb\u2011hyphen");
}

// Fonts of the document below: f1 Central European, f2 Cyrillic, f3 symbol,
// f4 with an explicit code page, f5 without a character set.
constexpr std::string_view kFontTable =
    "{\\fonttbl{\\f0\\froman\\fcharset0 Times;}{\\f1\\fcharset238{\\*\\panose 02}Times CE;}"
    "{\\f2\\fcharset204 Times Cyr;}{\\f3\\fcharset2 Symbol;}{\\f4\\fcharset0\\cpg1253 Greek;}"
    "\\f5 Plain;}";

std::string withFonts(std::string_view header, std::string_view text) {
    return "{\\rtf1" + std::string(header) + std::string(kFontTable) + std::string(text) + "}";
}

TEST(RtfReaderCodePages, BytesAreReadInTheirFontsCodePage) {
    EXPECT_EQ(body(withFonts("\\ansi", "\\f1 Prosz\\'ea {\\f2 \\'c7\\'e4}\\'ea")), "Proszę Здę");
    EXPECT_EQ(body(withFonts("\\ansi", "\\f0 caf\\'e9 \\f4 \\'e1\\f3 \\'b7")), "café α\uF0B7");
    // Raw 8-bit bytes are read like hex bytes.
    EXPECT_EQ(body(withFonts("\\ansi", "\\f2 \xC7\xE4")), "Зд");
    // Fonts without a character set, and unknown fonts, take the document's.
    EXPECT_EQ(body(withFonts("\\ansi\\ansicpg1251", "\\f5 \\'c7\\f9 \\'e4")), "Зд");
    EXPECT_EQ(body(withFonts("\\ansi\\ansicpg1250\\deff1", "\\'ea\\f2\\'c7\\plain\\'ea")), "ęЗę");
    // A code page without a table of ours reads as Windows 1252.
    EXPECT_EQ(body("{\\rtf1\\mac\\ansicpg10000 \\'e9}"), "é");
}

// The reader keeps the coding of the font last looked up, and each group's
// coding is restored at its end: neither may outlive what it was worked out
// from.
TEST(RtfReaderCodePages, FontCodingsFollowGroupsAndChanges) {
    // Nested groups switching fonts, each end back to the font around it.
    EXPECT_EQ(
        body(withFonts("\\ansi", "\\f1 {\\f2 {\\f3 {\\f2 \\'c7}\\'b7}\\'c7}\\'ea{\\f1 \\'ea}")),
        "З\uF0B7Зęę");
    // A font redefined by a later table reads in its new code page.
    EXPECT_EQ(body("{\\rtf1{\\fonttbl{\\f1\\fcharset238 CE;}}{\\f1 \\'ea}"
                   "{\\fonttbl{\\f1\\fcharset204 Cyr;}}{\\f1 \\'ea}}"),
              "ęк");
    // A font of the document's code page follows a change of that page.
    EXPECT_EQ(body("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f5 Plain;}}{\\f5 "
                   "\\'c7}\\ansicpg1250{\\f5 \\'ea}}"),
              "Зę");
}

TEST(RtfReaderCodePages, DoubleBytePages) {
    const std::string japanese =
        "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset0 Century;}{\\f13\\fcharset128 "
        "Mincho;}}";
    EXPECT_EQ(body(japanese + "\\f13 \\'93\\'fa\\'96\\'7b\\'81@}"), "日本\u3000");
    // Word names the double-byte font with "\dbch\f" before such text; an
    // associated font alone does not make Western bytes double-byte.
    EXPECT_EQ(body(japanese + "\\loch\\f0\\hich\\af0\\dbch\\f13 \\'93\\'fa}"), "日");
    EXPECT_EQ(body(japanese + "\\hich\\af0\\dbch\\af13\\loch\\f0 caf\\'e9}"), "café");
    // A lead byte without its trail byte is kept as it is.
    EXPECT_EQ(body(japanese + "\\f13 \\'93\\par \\'93 x}"), "\uF093|\uF093 x");
}

TEST(RtfReaderDropped, TablesInformationAndDestinations) {
    EXPECT_EQ(body("{\\rtf1 {\\fonttbl{\\f1 Courier;}}{\\colortbl;\\red0;}"
                   "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}"
                   "{\\header H}{\\footer F}{\\headerl L}{\\footerr R}body}"),
              "body");
    EXPECT_EQ(body("{\\rtf1 a{\\footnote note\\par more}b}"), "ab");
    EXPECT_EQ(body("{\\rtf1 a{\\pict 89504e47\\'00}b{\\object x}c}"), "abc");
    // A paragraph mark inside a dropped destination does not end the line.
    EXPECT_EQ(body("{\\rtf1 a{\\info\\par}b}"), "ab");
}

TEST(RtfReaderDropped, StarredUnknownDestinations) {
    EXPECT_EQ(body("{\\rtf1 a{\\*\\generator Writer;}b}"), "ab");
    // Without "*" the unknown word is ignored and its text written.
    EXPECT_EQ(body("{\\rtf1 a{\\zzgenerated Writer;}b}"), "aWriter;b");
    // "*" before a known word only clears the flag.
    EXPECT_EQ(body("{\\rtf1 {\\*\\tab x}y}"), "\txy");
    // Nested groups inside a skipped destination stay skipped.
    EXPECT_EQ(body("{\\rtf1 {\\*\\x {\\b bold}\\'41\\par}z}"), "z");
}

TEST(RtfReaderDropped, HiddenText) {
    EXPECT_EQ(body("{\\rtf1 a{\\v hidden}b}"), "ab");
    EXPECT_EQ(body("{\\rtf1 a\\v hidden\\v0 b}"), "ab");
    EXPECT_EQ(body("{\\rtf1 a\\v hidden\\plain b}"), "ab");
    EXPECT_EQ(body("{\\rtf1 a\\v1 x\\v2 y\\v0 c}"), "ac");
    // A paragraph mark in hidden text still ends the line.
    EXPECT_EQ(body("{\\rtf1 a\\v x\\par y\\v0 b}"), "a|b");
    // Properties in a skipped destination do not leak out of it.
    EXPECT_EQ(body("{\\rtf1 \\v{\\*\\x \\plain}h\\v0 t}"), "t");
}

TEST(RtfReaderBinary, BinaryDataIsCountedNotParsed) {
    EXPECT_EQ(body("{\\rtf1 a{\\pict\\bin4 }{\\}}b}"), "ab");
    // CR LF inside binary data counts as the two bytes it is.
    EXPECT_EQ(body("{\\rtf1 {\\pict\\bin3 x\r\ny}z}"), "z");
    EXPECT_EQ(body("{\\rtf1 {\\pict\\bin2 \r\n}z}"), "z");
    // Binary data in the body goes to the text, line feeds ending lines.
    EXPECT_EQ(body("{\\rtf1 \\bin3 {\n}z}"), "{|}z");
    // No count, zero or a negative count: no binary data at all.
    EXPECT_EQ(body("{\\rtf1 \\bin a\\bin0 b\\bin-4 c}"), "abc");
    // A binary run longer than the file ends at the end of the file.
    EXPECT_EQ(readRtf("{\\rtf1 {\\pict\\bin99999 abc}}").result, -402);
}

TEST(RtfReaderFailures, BracesAndControlWordsCutShort) {
    // A brace too many ends the document there: all text before it is read.
    Read extra = readRtf("{\\rtf1 abc\\par def}}more");
    EXPECT_EQ(extra.result, 0);
    EXPECT_EQ(extra.text, "abc|def");
    EXPECT_EQ(readRtf("}").result, -401);
    EXPECT_EQ(readRtf("{\\rtf1 abc").result, -402);
    EXPECT_EQ(readRtf("{\\rtf1 abc\\").result, -402);
    EXPECT_EQ(readRtf("{\\rtf1 abc\\ul-").result, -402);
    // Nothing after the document's closing brace is read as RTF.
    EXPECT_EQ(readRtf("{\\rtf1 abc}\\").result, 0);
    EXPECT_EQ(readRtf("{\\rtf1 abc}\\par").text, "abc");
}

TEST(RtfReaderFailures, SinkFailureEndsTheReading) {
    MemoryByteSource source("{\\rtf1 a\\par b\\par c\\par}");
    CollectingSink sink;
    sink.failAt = 2;
    sink.failure = -103;
    RtfReader reader(source, sink);
    EXPECT_EQ(reader.read(), -103);
    EXPECT_EQ(sink.text, "a|b|");
}

TEST(RtfReaderLimits, GroupDepthIsBounded) {
    std::string deep(RtfReader::kMaxGroupDepth, '{');
    deep += "x" + std::string(RtfReader::kMaxGroupDepth, '}');
    EXPECT_EQ(body(deep), "x") << "nesting up to the limit is read";

    std::string tooDeep(RtfReader::kMaxGroupDepth + 1, '{');
    EXPECT_EQ(readRtf(tooDeep).result, -405);

    std::string million(1000000, '{');
    MemoryByteSource source(million);
    CollectingSink sink;
    RtfReader reader(source, sink);
    EXPECT_EQ(reader.read(), -405);
    EXPECT_EQ(reader.depth(), RtfReader::kMaxGroupDepth);
}

TEST(RtfReaderLimits, KeywordLength) {
    std::string word29(29, 'q');
    std::string word30(30, 'q');
    std::string word5000(5000, 'q');
    EXPECT_EQ(body("{\\rtf1 a\\" + word29 + " b}"), "ab");
    EXPECT_EQ(body("{\\rtf1 a\\" + word30 + " b}"), "ab");
    EXPECT_EQ(body("{\\rtf1 a\\" + word5000 + "7 b}"), "ab") << "letters and digits consumed";
    EXPECT_EQ(body("{\\rtf1 a{\\*\\" + word30 + " gone}b}"), "ab");
    // A table word followed by more letters than the limit is not that word.
    EXPECT_EQ(body("{\\rtf1 a\\par" + std::string(27, 'x') + " b}"), "ab");
    EXPECT_EQ(body("{\\rtf1 a\\par" + std::string(26, 'x') + " b}"), "ab");
}

TEST(RtfReaderLimits, ParameterLength) {
    std::string zeros19(19, '0');
    std::string zeros40(40, '0');
    EXPECT_EQ(body("{\\rtf1 \\v1 h\\v" + zeros19 + " t}"), "t");
    EXPECT_EQ(body("{\\rtf1 \\v1 h\\v" + zeros40 + " t}"), "t") << "all digits consumed";
    EXPECT_EQ(body("{\\rtf1 \\v" + std::string(19, '9') + " h\\v0 t}"), "t");
    EXPECT_EQ(body("{\\rtf1 \\v-" + std::string(30, '9') + " h\\v0 t}"), "t");
    // A saturated binary count reads to the end of the file and stops there.
    EXPECT_EQ(readRtf("{\\rtf1 {\\pict\\bin" + std::string(25, '9') + " data}}").result, -402);
}

// `tail` after the document's start reads as `expected` wherever the end of
// the 64 KB input block falls in it, and from a source that hands over one
// byte at a time.
void expectSameWhereverTheBlockEnds(const std::string& tail, const std::string& expected) {
    const std::string head = "{\\rtf1 ";
    constexpr std::size_t kBlock = 65536;
    for (std::size_t before = kBlock - head.size() - tail.size(); before <= kBlock - head.size();
         ++before) {
        std::string padding(before, 'p');
        EXPECT_EQ(body(head + padding + tail), padding + expected) << "padding " << before;
    }
    const std::string whole = head + tail;
    TrickleSource trickle(whole);
    CollectingSink sink;
    RtfReader reader(trickle, sink);
    EXPECT_EQ(reader.read(), 0);
    EXPECT_EQ(sink.text, expected) << "a source that hands over one byte at a time";
}

// Control words are looked up where they stand in the reader's input
// buffer (64 KiB): words, parameters, symbols, "\\uN" with its fallback and an
// overlong word read the same wherever the buffer ends among them.
TEST(RtfReaderBuffer, WordsAcrossTheEndOfTheInputBlock) {
    const std::string tail =
        "a\\par b\\u233?c\\'e9d\\lang1024 e\\" + std::string(35, 'q') + "7 f\\{g\\uc0\\u8364 h}";
    const std::string expected =
        "a|b\xC3\xA9"
        "c\xC3\xA9"
        "def{g\xE2\x82\xAC"
        "h";
    expectSameWhereverTheBlockEnds(tail, expected);
}

// Text is copied in bulk up to the end of the input block and read on after
// the refill: 8-bit text, "\\'xx" whose digits the block end divides, "\\uN"
// with its fallback and text hidden or dropped read the same wherever the
// block ends among them.
TEST(RtfReaderBuffer, TextAcrossTheEndOfTheInputBlock) {
    const std::string tail =
        "caf\xE9 d\xE9j\xE0 \\'e9\\'E8 {\\uc2\\u8364\\'80\\'80}x\\u321?y"
        "{\\v h\xE9\\u321\\'4cd}{\\*\\x dr\xE9\\'e9p}" +
        std::string(20, '\xE9') + "z\\par \\ldblquote q\\rdblquote}";
    const std::string expected = "café déjà éè \uFFF9€\uFFFA€€\uFFFBxŁy" + [] {
        std::string e;
        for (int i = 0; i < 20; ++i) e += "é";
        return e;
    }() + "z|“q”";
    EXPECT_EQ(body("{\\rtf1 " + tail), expected);
    expectSameWhereverTheBlockEnds(tail, expected);
}

// The last block of a file is shorter than the buffer: what an earlier block
// left behind it is not part of a word at the very end of the data.
TEST(RtfReaderBuffer, AWordAtTheEndOfTheDataEndsThere) {
    const std::string head = "{\\rtf1 ";
    const std::string text(65536 - head.size(), 'q');
    Read read = readRtf(head + text + "\\par");
    EXPECT_EQ(read.result, -402);
    EXPECT_EQ(read.text, text + "|");
    EXPECT_EQ(readRtf(head + text + "\\u").result, -402);
}

// The same for digits: behind a parameter that the last byte of the data
// ends, or a minus at the very end of the data, the buffer still holds
// digits of the block before.
TEST(RtfReaderBuffer, AParameterAtTheEndOfTheDataEndsThere) {
    const std::string head = "{\\rtf1 ";
    const std::string digits(65536 - head.size(), '9');
    const std::string more(20, '9');
    Read read = readRtf(head + digits + more + "\\u65}");
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.text, digits + more + "A");
    EXPECT_EQ(readRtf(head + digits + more + "\\u-").result, -402);
    EXPECT_EQ(readRtf(head + digits + more + "\\uc0\\u-1}").text, digits + more + "\xEF\xBF\xBF");
}

// Parameters of every length up to past the digit limit, with leading
// zeros that leave the value as it is: right before the document's closing
// brace and wherever the input block ends among them.
TEST(RtfReaderBuffer, ParameterDigitsOfEveryLength) {
    const std::string head = "{\\rtf1 x\\uc0";
    for (std::size_t zeros = 0; zeros <= 25; ++zeros) {
        const std::string z(zeros, '0');
        Read read = readRtf(head + "\\u" + z + "12345}");
        EXPECT_EQ(read.result, 0) << zeros << " zeros";
        EXPECT_EQ(read.text, "x\u3039") << zeros << " zeros";
        EXPECT_EQ(readRtf(head + "\\u-" + z + "4064}").text, "x\uF020") << zeros << " zeros";
        EXPECT_EQ(readRtf(head + "\\u" + z + "6}").text, "x\x06") << zeros << " zeros";
    }
    for (int zeros : {0, 3, 7, 8, 15, 16, 22}) {
        const std::string z(static_cast<std::size_t>(zeros), '0');
        expectSameWhereverTheBlockEnds("\\uc0\\u" + z + "12345 a\\u-" + z + "4064 b}",
                                       "\u3039a\uF020b");
    }
}

// Runs of control words the reader has read before are taken by their bytes:
// they read as the first time, whatever follows them, and stop where that
// reading stops (a pause of the sink, binary data).
TEST(RtfReaderRuns, RepeatedRunsReadAsTheFirstTime) {
    // A parameter's end decided by the byte after it, in either order.
    EXPECT_EQ(body("{\\rtf1 \\uc0\\u233a\\u233 b\\u233a\\u2330\\u233a}"),
              "\u00E9a\u00E9b\u00E9a\u091A\u00E9a");
    EXPECT_EQ(body("{\\rtf1 \\uc0\\u65 x\\u65x\\u65-x\\u65 x}"), "AxAxA-xAx");
    // A word without effect ends a "\\*" before it: the word after it is
    // no destination to skip, every time.
    EXPECT_EQ(body("{\\rtf1 {\\*\\ul\\x a}{\\*\\ul\\x b}{\\*\\x\\ul c}{\\*\\x\\ul d}e}"), "abe");
    // The same run in and out of a dropped destination and hidden text.
    EXPECT_EQ(body("{\\rtf1 \\tab a{\\*\\x \\tab b}{\\v\\tab c}\\tab d}"), "\ta\td");
    // Binary data after a run's last word is data, every time.
    EXPECT_EQ(body("{\\rtf1 \\bin2\\par z\\bin2\\par z}"), "\\par z\\par z");
    const std::string tagged = "{\\cs6\\cf6\\f1\\lang1024 <b>}t\\par ";
    std::string document = "{\\rtf1 ";
    std::string expected;
    for (int i = 0; i < 3; ++i) {
        document += tagged;
        expected += "<b>t|";
    }
    EXPECT_EQ(body(document + "}"), expected);
    expectSameWhereverTheBlockEnds(tagged + tagged + tagged + "}", expected);
}

// Pauses the reading at every paragraph after the first `readOn`.
class PausingSink final : public RtfParagraphSink {
  public:
    int paragraph(std::string& line, bool lineEnd) override {
        text += line;
        if (lineEnd) text += '|';
        return ++calls > readOn ? 1 : 0;
    }
    std::string text;
    int calls = 0;
    int readOn = 2;
};

TEST(RtfReaderRuns, APauseWithinARunGoesOnAfterItsParagraph) {
    MemoryByteSource source("{\\rtf1 x\\par\\par y\\par\\par z}");
    PausingSink sink;
    RtfReader reader(source, sink);
    int pauses = 0;
    int result;
    while ((result = reader.read()) == 1) ++pauses;
    EXPECT_EQ(result, 0);
    // The paragraphs after the second, the last one too, each paused the reading.
    EXPECT_EQ(pauses, 3);
    EXPECT_EQ(sink.text, "x||y||z");
}

// Binary data is read with its word; a paragraph that pauses the reading in
// the middle of it goes on with the rest of the data, within a run of words
// too, and the same words after it read as the first time.
TEST(RtfReaderBinary, APauseWithinBinaryDataGoesOnWithTheData) {
    const std::string rtf =
        "{\\rtf1 a\\bin5 b\nc\nde\\par \\fs20\\bin3 \n}\nf\\fs20\\bin3 \n{\ng\\bin2 hi}";
    MemoryByteSource source(rtf);
    PausingSink sink;
    sink.readOn = 0;
    RtfReader reader(source, sink);
    int pauses = 0;
    int result;
    while ((result = reader.read()) == 1) ++pauses;
    EXPECT_EQ(result, 0);
    EXPECT_EQ(sink.text, "ab|c|de||}|f|{|ghi");
    EXPECT_EQ(pauses, 8);
}

TEST(RtfReaderText, HiddenAndDroppedTextTakeTheirBytesAndFallbacksAlong) {
    EXPECT_EQ(body("{\\rtf1 a{\\v \xE9\\u321\\'4c\xE9 x}b{\\*\\x \xE9\\u322 l}c}"), "abc");
    // A fallback takes its count of bytes, 8-bit text and hexadecimal alike.
    EXPECT_EQ(body("{\\rtf1 \\uc3\\u321 ab\xE9 cd}"), "\uFFF9Ł\uFFFAabé\uFFFB cd");
    EXPECT_EQ(body("{\\rtf1 \\uc2\\u321 \\'41\\'42C}"), "\uFFF9Ł\uFFFAAB\uFFFBC");
}

TEST(RtfReaderFailures, TruncatedAndUnbalancedInput) {
    EXPECT_EQ(readRtf("{\\rtf1 caf\xE9 d\xE9j\xE0").result, -402);
    EXPECT_EQ(readRtf("{\\rtf1 \\u321").result, -402);
    EXPECT_EQ(readRtf("{\\rtf1 \\'e").result, -402);
    EXPECT_EQ(readRtf("{\\rtf1 {\\uc2\\u321 a}}}").result, 0);
    Read early = readRtf("{\\rtf1 caf\xE9\\par x}}\xE9");
    EXPECT_EQ(early.result, 0);
    EXPECT_EQ(early.text, "café|x");
}

TEST(RtfReaderLimits, LongParagraphsOfEightBitText) {
    // Every byte becomes three bytes of UTF-8 ("€"): the line grows past
    // what the input held.
    std::string text(200000, '\x80');
    std::string expected;
    for (std::size_t i = 0; i < text.size(); ++i) expected += "€";
    EXPECT_EQ(body("{\\rtf1 " + text + "\\par}"), expected + "|");
}

TEST(RtfReaderLimits, LongParagraphsAreOneLine) {
    std::string text(3 * 1024 * 1024 + 7, 'L');
    EXPECT_EQ(body("{\\rtf1 " + text + "\\par}"), text + "|");
}

}  // namespace
