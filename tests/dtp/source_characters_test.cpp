// The decoding of DTP sources that are neither Windows 1252 nor Macintosh:
// encoding names, and the RTF form of single characters and of text.
#include "dtp/source_characters.h"

#include <gtest/gtest.h>

namespace tessel::dtp {
namespace {

std::string rtfOf(char32_t c) {
    std::string out;
    appendRtfCharacter(out, c);
    return out;
}

TEST(SourceCharacters, EncodingNames) {
    EXPECT_TRUE(sourceCharactersNamed("UTF-8").utf8);
    EXPECT_TRUE(sourceCharactersNamed("utf8").utf8);
    for (const char* name : {"windows-1250", "CP1250", "1250"}) {
        const SourceCharacters characters = sourceCharactersNamed(name);
        ASSERT_NE(characters.codePage, nullptr) << name;
        EXPECT_EQ(characters.codePage->codePage(), 1250) << name;
        EXPECT_FALSE(characters.utf8) << name;
    }
    // Windows 1252 is read as it stands; double-byte pages and unknown names
    // decode nothing.
    for (const char* name :
         {"windows-1252", "", "windows-", "cp932", "latin-x", "windows-99999x"}) {
        EXPECT_FALSE(sourceCharactersNamed(name).decodes()) << name;
    }
}

TEST(SourceCharacters, CharactersAreBytesOf1252OrSignedUnicodeEscapes) {
    EXPECT_EQ(rtfOf(U'\u00E9'), "\xE9");
    EXPECT_EQ(rtfOf(U'\u2019'), "\\rquote ");
    EXPECT_EQ(rtfOf(U'\u00A0'), "\\~");
    EXPECT_EQ(rtfOf(U'\u0142'), "\\u322?");
    EXPECT_EQ(rtfOf(U'\u7FFF'), "\\u32767?");
    EXPECT_EQ(rtfOf(U'\u8000'), "\\u-32768?");
    EXPECT_EQ(rtfOf(U'\uFFFD'), "\\u-3?");
    EXPECT_EQ(rtfOf(U'\U0001F600'), "\\u-10179?\\u-8704?");
    EXPECT_EQ(rtfOf(U'\U0010FFFF'), "\\u-9217?\\u-8193?");
    // A kept byte is never taken for the 1252 character of its byte.
    EXPECT_EQ(rtfOf(platform::keptByte(0xE9)), "\\u-3863?");
}

TEST(SourceCharacters, Utf8TextEscapedAndMalformedBytesKept) {
    SourceCharacters utf8;
    utf8.utf8 = true;
    std::string out;
    appendDecodedRtfEscaped(out, "{a}\\ \xC5\x82\xE2\x80\x94\tb\n", utf8);
    EXPECT_EQ(out, "\\{a\\}\\\\ \\u322?\\emdash \\tab b\n\\par ");
    // Overlong forms, surrogates, stray continuation bytes and a sequence cut
    // short at the end are bytes, each kept alone.
    out.clear();
    appendDecodedRtfEscaped(out, "\xC0\xAF\xED\xA0\x80\x80\xE2\x80", utf8);
    EXPECT_EQ(out, "\\u-3904?\\u-3921?\\u-3859?\\u-3936?\\u-3968?\\u-3968?\\u-3870?\\u-3968?");
}

TEST(SourceCharacters, CodePageTextJoinsLinesAsA1252TextDoes) {
    const SourceCharacters polish = sourceCharactersNamed("windows-1250");
    std::string out;
    appendDecodedRtfText(out, "Za\xBF\xF3\xB3\xE6 word\nnext\n\xB3\n", polish, true);
    EXPECT_EQ(out, "Za\\u380?\xF3\\u322?\\u263? word next\n\\par \\u322?\n\\par ");
    out.clear();
    appendDecodedRtfText(out, "word\nnext", polish, false);
    EXPECT_EQ(out, "word\n\\par next");
}

}  // namespace
}  // namespace tessel::dtp
