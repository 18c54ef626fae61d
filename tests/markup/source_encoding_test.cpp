// The decision of a source's encoding, the decoding of its lines, the RTF
// escape of characters beyond Windows 1252, and the encoding a translated
// RTF's document is written back in.
#include "markup/source_encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "frame/encoding_names.h"
#include "frame/rtf_unicode_escape.h"
#include "markup/document_encoding.h"
#include "markup/source_text.h"
#include "platform/utf16.h"

namespace {

using namespace tessel::markup;

TEST(SourceEncoding, ByteOrderMarkComesBeforeEveryDeclaration) {
    const std::string declared = "<meta charset=\"windows-1251\">";
    SourceEncoding utf8 = decideFromHead("\xEF\xBB\xBF" + declared, "windows-1250");
    EXPECT_EQ(utf8.form, SourceForm::Utf8);
    EXPECT_EQ(utf8.origin, EncodingOrigin::ByteOrderMark);
    EXPECT_EQ(utf8.byteOrderMark, 3u);
    SourceEncoding little = decideFromHead(std::string("\xFF\xFE<\0h\0", 6), "");
    EXPECT_EQ(little.form, SourceForm::Utf16LittleEndian);
    EXPECT_EQ(little.byteOrderMark, 2u);
    EXPECT_EQ(decideFromHead(std::string("\xFE\xFF\0<", 4), "").form, SourceForm::Utf16BigEndian);
}

TEST(SourceEncoding, DeclarationsOfHtmlXhtmlAndXml) {
    EXPECT_EQ(declaredEncodingName("<html><head><META CHARSET=UTF-8 />"), "UTF-8");
    EXPECT_EQ(declaredEncodingName("<meta http-equiv=\"Content-Type\" "
                                   "content=\"text/html; charset=windows-1251\">"),
              "windows-1251");
    EXPECT_EQ(declaredEncodingName("<?xml version=\"1.0\" encoding='Shift_JIS'?>\n<html>"),
              "Shift_JIS");
    // A META in a comment declares nothing; one after the comment does.
    EXPECT_EQ(declaredEncodingName("<!-- <meta charset=\"big5\"> --><meta charset=\"gbk\">"),
              "gbk");
    // "charset" outside a META tag is text.
    EXPECT_EQ(declaredEncodingName("<p>charset=utf-8</p><metadata charset=utf-8>"), "");
}

TEST(SourceEncoding, DeclarationThenUserChoiceThenDefault) {
    SourceEncoding declared = decideFromHead("<meta charset=\"windows-1251\">", "utf-8");
    EXPECT_EQ(declared.form, SourceForm::CodePage);
    EXPECT_EQ(declared.codePage, 1251);
    EXPECT_EQ(declared.origin, EncodingOrigin::Declaration);

    SourceEncoding chosen = decideFromHead("<p>plain</p>", "cp1250");
    EXPECT_EQ(chosen.codePage, 1250);
    EXPECT_EQ(chosen.origin, EncodingOrigin::UserChoice);

    SourceEncoding nothing = decideFromHead("<p>plain</p>", "");
    EXPECT_TRUE(nothing.asBefore());
    EXPECT_EQ(nothing.origin, EncodingOrigin::Default);

    // ISO 8859-1 is read as before; UTF-16 declared in bytes read as ASCII
    // is UTF-8.
    EXPECT_TRUE(decideFromHead("<meta charset=iso-8859-1>", "utf-8").asBefore());
    EXPECT_EQ(decideFromHead("<meta charset=utf-16>", "").form, SourceForm::Utf8);

    // A name the library does not read is kept for the report, and the
    // rules after the declaration decide.
    SourceEncoding unread = decideFromHead("<meta charset=\"koi8-r\">", "windows-1256");
    EXPECT_EQ(unread.unreadDeclaration, "koi8-r");
    EXPECT_EQ(unread.codePage, 1256);
    EXPECT_EQ(sourceEncodingReport(unread),
              "Read as code page 1256 (the declared \"koi8-r\" is not an encoding the "
              "library reads)");
}

TEST(SourceEncoding, ReportNamesTheEncodingAndWhy) {
    EXPECT_EQ(sourceEncodingReport(decideFromHead("\xEF\xBB\xBFx", "")),
              "Read as UTF-8 (byte-order mark)");
    EXPECT_EQ(sourceEncodingReport(decideFromHead("<meta charset=shift_jis>", "")),
              "Read as code page 932 (declared in the file)");
    EXPECT_EQ(sourceEncodingReport(decideFromHead("<p>", "")), "");
}

TEST(SourceEncoding, EncodingNamesIgnoreCaseAndBlanks) {
    EXPECT_EQ(tessel::frame::codePageOfEncodingName(" Windows-1251 "), 1251);
    EXPECT_EQ(tessel::frame::codePageOfEncodingName("UTF8"), 65001);
    EXPECT_EQ(tessel::frame::codePageOfEncodingName("EUC-KR"), 949);
    EXPECT_EQ(tessel::frame::codePageOfEncodingName("klingon"), 0);
    EXPECT_EQ(tessel::frame::codePageOfEncodingName(""), 0);
}

TEST(Utf8Scan, SequencesCutBetweenPiecesAndInvalidForms) {
    Utf8Scan cut;
    cut.feed("Za\xC5");
    EXPECT_FALSE(cut.valid()) << "a cut sequence is not yet valid";
    EXPECT_FALSE(cut.failed());
    cut.feed("\xBC\xE6\x97");
    cut.feed("\xA5 end");
    EXPECT_TRUE(cut.valid());
    EXPECT_TRUE(cut.sawMultiByte());

    Utf8Scan ascii;
    ascii.feed("only ASCII here, sixteen bytes and more");
    EXPECT_TRUE(ascii.valid());
    EXPECT_FALSE(ascii.sawMultiByte());

    for (std::string_view bad :
         {"caf\xE9 au lait", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE0\x80\xAF"}) {
        Utf8Scan scan;
        scan.feed(bad);
        EXPECT_TRUE(scan.failed()) << bad;
    }
}

TEST(UnicodeRtfEscape, WindowsLettersAsBeforeOthersAsSignedUnits) {
    auto escaped = [](std::string text) {
        EXPECT_TRUE(tessel::frame::escapeUnicodeRtf(text));
        return text;
    };
    // é is 1252's byte; the quotes and dash are 1252's escapes; { and \ too.
    EXPECT_EQ(escaped("caf\xC3\xA9 {\\}"), "caf\xE9 \\{\\\\\\}");
    EXPECT_EQ(escaped("\xE2\x80\x9Cq\xE2\x80\x9D \xE2\x80\x94"),
              "\\ldblquote q\\rdblquote  \\emdash ");
    // ł, 日 (U+65E5), 語 (U+8A9E, above 32767), U+FFFD.
    EXPECT_EQ(escaped("\xC5\x82\xE6\x97\xA5\xE8\xAA\x9E\xEF\xBF\xBD"),
              "\\u322?\\u26085?\\u-30050?\\u-3?");
    // Beyond U+FFFF: a surrogate pair (U+1F600 is D83D DE00).
    EXPECT_EQ(escaped("\xF0\x9F\x98\x80"), "\\u-10179?\\u-8704?");
    // A kept byte (here 0xE9 that had no character) goes as its own unit.
    EXPECT_EQ(escaped("\xEF\x83\xA9"), "\\u-3863?");
}

TEST(SourceLineDecoder, BytesWithoutCharacterBecomeKeptBytes) {
    SourceEncoding utf8 = decideFromHead("<meta charset=utf-8>", "");
    SourceLineDecoder decoder(utf8);
    std::string original;
    std::string line = "ok \xC5\x82";
    EXPECT_TRUE(decoder.toUtf8(line, original));
    EXPECT_EQ(line, "ok \xC5\x82");
    line = "caf\xE9!";
    EXPECT_FALSE(decoder.toUtf8(line, original));
    EXPECT_EQ(line, "caf\xEF\x83\xA9!");
    EXPECT_EQ(original, "caf\xE9!");

    SourceLineDecoder cyrillic(decideFromHead("<meta charset=windows-1251>", ""));
    line = "\xCF\xF0\xE8\xE2\xE5\xF2";  // Привет
    EXPECT_TRUE(cyrillic.toUtf8(line, original));
    EXPECT_EQ(line, "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82");
    line = "\x98";  // no character in 1251
    EXPECT_FALSE(cyrillic.toUtf8(line, original));
    EXPECT_EQ(line, "\xEF\x82\x98");

    SourceLineDecoder japanese(decideFromHead("<meta charset=shift_jis>", ""));
    line = "\x93\xFA\x96\x7B";  // 日本
    EXPECT_TRUE(japanese.toUtf8(line, original));
    EXPECT_EQ(line, "\xE6\x97\xA5\xE6\x9C\xAC");
}

// A UTF-8 line that Windows 1252 holds whole becomes its 1252 bytes; one
// that it does not is left byte for byte as it was, however far the
// narrowing got before the character 1252 lacks or the invalid sequence.
TEST(NarrowToWindows1252, WholeLinesNarrowedOthersLeftAsTheyWere) {
    std::string held =
        "caf\xC3\xA9 \xE2\x80\x9C"
        "na\xC3\xAFve\xE2\x80\x9D \xE2\x82\xAC 5";
    ASSERT_TRUE(narrowToWindows1252(held));
    EXPECT_EQ(held, "caf\xE9 \x93na\xEFve\x94 \x80 5");
    const std::string notHeld[] = {
        "caf\xC3\xA9 long enough to move \xE2\x80\x9Cquoted\xE2\x80\x9D then "
        "\xC5\x81\xC3\xB3"
        "d\xC5\xBA",
        "\xC5\x81 first",
        "caf\xC3\xA9 \xF0\x9F\x98\x80 beyond U+FFFF",
        "caf\xC3\xA9 then \xC3( invalid",
        "caf\xC3\xA9 cut \xE2\x80",
    };
    for (const std::string& line : notHeld) {
        std::string copy = line;
        EXPECT_FALSE(narrowToWindows1252(copy)) << line;
        EXPECT_EQ(copy, line);
    }
    std::string ascii = "plain text";
    EXPECT_TRUE(narrowToWindows1252(ascii));
    EXPECT_EQ(ascii, "plain text");
}

TEST(Utf16, TranscodedBothWaysWithSurrogatesAndUnpairedUnits) {
    const std::string text = "a\xC5\x82\xF0\x9F\x98\x80";
    const std::string little = tessel::platform::utf16OfUtf8(text, false);
    EXPECT_EQ(little, std::string("a\0\x42\x01\x3D\xD8\x00\xDE", 8));
    std::size_t unpaired = 0;
    EXPECT_EQ(tessel::platform::utf8OfUtf16(little, false, unpaired), text);
    EXPECT_EQ(
        tessel::platform::utf8OfUtf16(tessel::platform::utf16OfUtf8(text, true), true, unpaired),
        text);
    EXPECT_EQ(unpaired, 0u);
    EXPECT_EQ(tessel::platform::utf8OfUtf16(std::string("\x00\xD8x\0y", 5), false, unpaired),
              "\xEF\xBF\xBDx\xEF\xBF\xBD");
    EXPECT_EQ(unpaired, 2u) << "a lone high surrogate and an odd last byte";
}

TEST(DocumentEncoding, DeclarationAndMarkCarriedInTheRtf) {
    const std::string meta =
        "{\\cs5\\cf15\\f1\\lang1024 <meta http-equiv=\"Content-Type\" "
        "content=\"text/html; charset=\r\nwindows-1251\">}";
    DocumentEncoding cyrillic = documentEncodingOfRtf("{\\rtf1 \\ansi " + meta);
    EXPECT_EQ(cyrillic.codePage, 1251) << "line ends of the RTF are not text";
    EXPECT_EQ(cyrillic.mark, ByteOrderMark::None);
    EXPECT_EQ(backConversionCodePage(cyrillic, 1250), 1251);

    EXPECT_EQ(documentEncodingOfRtf("{\\cs5 \\u-257?}<p>").mark, ByteOrderMark::Utf8);
    EXPECT_EQ(documentEncodingOfRtf("{\\cs5 \\u65279\\'3f}").mark, ByteOrderMark::Utf8);
    EXPECT_EQ(documentEncodingOfRtf("{\\cs5 \\u-2570?}").mark, ByteOrderMark::None);
    EXPECT_EQ(documentEncodingOfRtf("{\\cs5 \\u-3841?\\u-3842?}").mark,
              ByteOrderMark::Utf16LittleEndian);
    EXPECT_EQ(documentEncodingOfRtf("{\\cs5 \\u61694\\'3f\\u61695\\'3f}").mark,
              ByteOrderMark::Utf16BigEndian);

    EXPECT_EQ(
        documentEncodingOfRtf("{\\rtf1 {\\cs5 <?xml version=\"1.0\" encoding=\"gbk\"?>}").codePage,
        936);

    DocumentEncoding nothing = documentEncodingOfRtf("{\\rtf1 <p>text</p>}");
    EXPECT_EQ(backConversionCodePage(nothing, 0), 0) << "as before: 1252 through entities";
    EXPECT_EQ(backConversionCodePage(nothing, 1250), 1250) << "the chosen code page";
    EXPECT_EQ(backConversionCodePage(documentEncodingOfRtf("<meta charset=iso-8859-1>"), 1250), 0);
    EXPECT_EQ(backConversionCodePage(documentEncodingOfRtf("{\\cs5 \\u-3841?\\u-3842?}"), 0),
              65001);
}

}  // namespace
