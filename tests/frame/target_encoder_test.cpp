// Writing the reader's UTF-8 text in each format's character set: what the
// code page holds as bytes, the rest by the format's rule, and the list of
// characters that were not written as themselves.
#include "frame/target_encoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/rtf_line_writer.h"

namespace {

using tessel::frame::characterNames;
using tessel::frame::TargetEncoder;
using tessel::frame::targetRules;

struct Encoded {
    std::string text;
    std::string lost;
};

Encoded encode(int functionCode, std::string text, int documentCodePage = 0, int chosenCodePage = 0,
               bool macintosh = false) {
    TargetEncoder encoder(targetRules(functionCode, documentCodePage, chosenCodePage, macintosh));
    encoder.encode(text);
    return {text, characterNames(encoder.lostCharacters())};
}

constexpr const char* kTyped = "Łódź Привет 日本";

TEST(TargetEncoder, HtmlAndSgmlWriteNumericReferences) {
    for (int code : {508, 512, 514}) {
        Encoded html = encode(code, kTyped);
        EXPECT_EQ(html.text,
                  "&#321;\xF3"
                  "d&#378; &#1055;&#1088;&#1080;&#1074;&#1077;&#1090; "
                  "&#26085;&#26412;")
            << code;
        EXPECT_EQ(html.lost, "") << "nothing is lost";
    }
    EXPECT_EQ(encode(508, "a\u2028b").text, "a<br>b");
    EXPECT_EQ(encode(512, "a\u2028b").text, "a\nb");
}

TEST(TargetEncoder, MultilingualHtmlWritesTheChosenCodePage) {
    EXPECT_EQ(encode(515, kTyped, 0, 1250).text,
              "\xA3\xF3"
              "d\x9F &#1055;&#1088;&#1080;&#1074;&#1077;&#1090; &#26085;&#26412;");
    EXPECT_EQ(
        encode(515, kTyped, 0, 932).text,
        "&#321;&#243;d&#378; \x84\x50\x84\x82\x84\x79\x84\x72\x84\x75\x84\x84 \x93\xFA\x96\x7B");
    EXPECT_EQ(encode(515, kTyped, 0, 65001).text, kTyped);
    // A chosen page without a table: everything beyond ASCII as references.
    EXPECT_EQ(encode(515, "é", 0, 28592).text, "&#233;");
    EXPECT_EQ(encode(515, "é", 0, 0).text, "\xE9") << "no page given: Windows 1252";
}

TEST(TargetEncoder, TextFormatsWriteTheirFallbackAndNameWhatIsLost) {
    Encoded text = encode(504, kTyped);
    EXPECT_EQ(text.text,
              "?\xF3"
              "d? ?????? ??");
    EXPECT_EQ(text.lost,
              "U+0141, U+017A, U+041F, U+0440, U+0438, U+0432, U+0435, U+0442, U+65E5, U+672C");
    // The document's code page is the target of the text formats.
    EXPECT_EQ(encode(504, "Łódź", 1250).text,
              "\xA3\xF3"
              "d\x9F");
    EXPECT_EQ(encode(513, "Привет", 1251).lost, "");
    // The RTF's fallback where it has one; the implied ones of the controls.
    EXPECT_EQ(encode(504, "\uFFF9Ł\uFFFAL\uFFFB!").text, "L!");
    EXPECT_EQ(encode(504, "\uFFF9Ł\uFFFA\u0141x\uFFFB").text, "?x");
    Encoded controls = encode(504, "nb\u2011hyphen soft\u00ADhyphen");
    EXPECT_EQ(controls.text, "nb-hyphen soft\xADhyphen");
    EXPECT_EQ(controls.lost, "U+2011");
    EXPECT_EQ(encode(504, "soft\u00ADhyphen", 874).text, "softhyphen");
    EXPECT_EQ(encode(504, "a\u2028b").text, "a\nb");
    EXPECT_EQ(encode(513, "a\u2028b").text, "a<R>b");
}

TEST(TargetEncoder, TaggedTextWritesLiteralCharacterTags) {
    Encoded quark = encode(511, "Łódź\u2028x");
    EXPECT_EQ(quark.text,
              "<\\#321>\xF3"
              "d<\\#378><\\n>x");
    EXPECT_EQ(quark.lost, "U+0141, U+017A");
    EXPECT_EQ(encode(510, "a\u2028b").text, "a\nb");
    // Before the Macintosh pass: Windows 1252, with the Macintosh bytes of
    // the characters only the Macintosh set holds, which loses nothing.
    Encoded mac = encode(510, "π≠é Ł", 1250, 0, true);
    EXPECT_EQ(mac.text, "<\\#185><\\#173>\xE9 <\\#321>");
    EXPECT_EQ(mac.lost, "U+0141");
}

// Characters are written one by one: a long line of pieces that are held,
// written by a rule (longer than their UTF-8) and annotated encodes as its
// pieces do one at a time.
TEST(TargetEncoder, LongLinesEncodeAsTheirPieces) {
    struct Case {
        int functionCode;
        int documentCodePage;
        std::vector<std::string> pieces;
    };
    const std::vector<Case> cases = {
        {508, 0, {"plain ascii text ", "é", "Ł", "“", "日本", "\uFFF9Ł\uFFFAL\uFFFB", "a\u2028b"}},
        {504, 1250, {"more than eight bytes", "Łódź", "€", "Ж", "\uFFF9Ж\uFFFAZh\uFFFB", "x"}},
        {504, 932, {"kana ", "日本", "é", "\u3000", "ascii only here"}},
        {511, 0, {"Ł", "plain", "\u2028", "é"}},
    };
    for (const Case& c : cases) {
        std::string line;
        std::string expected;
        for (int round = 0; round < 40; ++round) {
            const std::string& piece = c.pieces[static_cast<std::size_t>(round) % c.pieces.size()];
            line += piece;
            expected += encode(c.functionCode, piece, c.documentCodePage).text;
        }
        EXPECT_EQ(encode(c.functionCode, line, c.documentCodePage).text, expected)
            << "function " << c.functionCode << " code page " << c.documentCodePage;
    }
}

// One encoder writes the lines of a whole file, reusing its buffers: a line
// encodes as it would alone, whatever longer, shorter or rule-written lines
// came before it.
TEST(TargetEncoder, EachLineEncodesAsItWouldAlone) {
    struct Case {
        int functionCode;
        int documentCodePage;
    };
    const std::vector<std::string> lines = {
        std::string(300, 'a') + "é" + std::string(40, 'b'),
        "é",
        "",
        "Łódź Привет 日本 " + std::string(100, 'c'),
        "plain",
        "\uFFF9Ł\uFFFAL\uFFFBé",
        "日本日本日本日本",
        "x",
    };
    for (const Case& c : {Case{504, 0}, Case{504, 1250}, Case{508, 0}, Case{511, 0}}) {
        TargetEncoder encoder(targetRules(c.functionCode, c.documentCodePage, 0, false));
        for (int round = 0; round < 2; ++round) {
            for (const std::string& original : lines) {
                std::string line = original;
                encoder.encode(line);
                EXPECT_EQ(line, encode(c.functionCode, original, c.documentCodePage).text)
                    << "function " << c.functionCode << " line \"" << original << "\"";
            }
        }
    }
}

TEST(TargetEncoder, KeptBytesAndAsciiPassUnchanged) {
    EXPECT_EQ(encode(504, "\uF081\uF0B7 plain").text, "\x81\xB7 plain");
    EXPECT_EQ(encode(508, "\uF0B7").text, "\xB7");
    EXPECT_EQ(encode(515, "\uF0B7", 0, 28592).text, "\xB7");
    std::string ascii = "<p>no change</p>";
    EXPECT_EQ(encode(504, ascii).text, ascii);
}

// Bytes that start a sequence the rest of the line cuts short or breaks off
// are each one replacement character; complete sequences decode whatever
// they stand for.
TEST(TargetEncoder, CutShortAndBrokenSequences) {
    EXPECT_EQ(encode(508, "a\xE2\x80").text, "a&#65533;&#65533;");
    EXPECT_EQ(encode(508, "\xE2\x80x\xC3").text, "&#65533;&#65533;x&#65533;");
    EXPECT_EQ(encode(508, "\xC3(\xE2(").text, "&#65533;(&#65533;(");
    EXPECT_EQ(encode(508, "\xED\xA0\x80\xE2\x80\x9C\xC3\xA9").text, "&#55296;\x93\xE9");
}

}  // namespace
