// The code-page tables in both directions: every byte and pair that has a
// character comes back as the same bytes, known characters sit where the
// pages put them, and what a page lacks is refused rather than guessed.
#include "platform/code_page_codec.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/utf8.h"

namespace {

using tessel::platform::CodePageCodec;
using tessel::platform::isKeptByte;
using tessel::platform::keptByte;

constexpr int kPages[] = {874,  932,  936,  949,  950,  1250, 1251,
                          1252, 1253, 1254, 1255, 1256, 1257, 1258};

std::string bytesOf(const CodePageCodec& codec, char32_t c) {
    std::string out;
    EXPECT_TRUE(codec.encode(c, out))
        << codec.codePage() << " U+" << std::hex << static_cast<unsigned>(c);
    return out;
}

TEST(CodePageCodec, EveryCharacterComesBackAsItsBytes) {
    for (int page : kPages) {
        const CodePageCodec* codec = CodePageCodec::find(page);
        ASSERT_NE(codec, nullptr) << page;
        int pairs = 0;
        for (int b = 0; b < 256; ++b) {
            auto byte = static_cast<std::uint8_t>(b);
            if (!codec->isLeadByte(byte)) {
                EXPECT_EQ(bytesOf(*codec, codec->decode(byte)), std::string(1, char(b))) << page;
                continue;
            }
            for (int t = 0x40; t <= 0xFE; ++t) {
                char32_t c = codec->decodePair(byte, static_cast<std::uint8_t>(t));
                if (c == 0) continue;
                ++pairs;
                std::string back = bytesOf(*codec, c);
                // A character with several byte forms is written in one of them.
                ASSERT_EQ(back.size(), 2u) << page;
                EXPECT_EQ(codec->decodePair(std::uint8_t(back[0]), std::uint8_t(back[1])), c);
            }
        }
        EXPECT_EQ(codec->isDoubleByte(), pairs > 0) << page;
    }
}

TEST(CodePageCodec, CharactersWhereThePagesPutThem) {
    struct Sample {
        int page;
        const char* bytes;
        const char* utf8;
    };
    const Sample samples[] = {
        {1250, "\xEA\xB9\xA3", "ęąŁ"},
        {1251, "\xC7\xE4", "Зд"},
        {1252, "\x80\xE9", "€é"},
        {1253, "\xE1\xD9", "αΩ"},
        {1254, "\xF0", "ğ"},
        {1255, "\xF9", "ש"},
        {1256, "\xC7", "ا"},
        {1257, "\xE8", "č"},
        {1258, "\xD2", "\xCC\x89"},
        {874, "\xA1", "ก"},
        {932, "\x93\xFA\x96\x7B", "日本"},
        {936, "\xC4\xE3", "你"},
        {949, "\xB0\xA1", "가"},
        {950, "\xA4\xA4", "中"},
    };
    for (const Sample& sample : samples) {
        const CodePageCodec& codec = *CodePageCodec::find(sample.page);
        std::string encoded;
        std::string_view text = sample.utf8;
        for (std::size_t at = 0; at < text.size();) {
            ASSERT_TRUE(codec.encode(tessel::platform::nextUtf8(text, at), encoded)) << sample.page;
        }
        EXPECT_EQ(encoded, sample.bytes) << sample.page;
    }
    // Half-width katakana are single bytes in 932; 950 writes U+5341 as A451.
    EXPECT_EQ(CodePageCodec::find(932)->decode(0xB1), U'\uFF71');
    EXPECT_EQ(bytesOf(*CodePageCodec::find(950), U'\u5341'), "\xA4\x51");
}

TEST(CodePageCodec, WhatAPageLacksIsRefused) {
    const CodePageCodec& cp1252 = CodePageCodec::windows1252();
    std::string out;
    EXPECT_FALSE(cp1252.encode(U'Ł', out));
    EXPECT_FALSE(cp1252.encode(U'日', out));
    EXPECT_FALSE(CodePageCodec::find(1251)->encode(U'é', out));
    EXPECT_FALSE(CodePageCodec::find(932)->encode(U'Ł', out));
    EXPECT_TRUE(out.empty()) << "nothing is appended for a refused character";
    EXPECT_EQ(CodePageCodec::find(437), nullptr);
    EXPECT_EQ(CodePageCodec::find(65001), nullptr);
}

TEST(CodePageCodec, BytesWithoutACharacterAreKept) {
    // 0x81 is undefined in 1252; 0x98 in 1251; a lead byte read alone.
    EXPECT_EQ(CodePageCodec::windows1252().decode(0x81), keptByte(0x81));
    EXPECT_EQ(CodePageCodec::find(1251)->decode(0x98), keptByte(0x98));
    EXPECT_EQ(CodePageCodec::find(932)->decode(0x93), keptByte(0x93));
    EXPECT_EQ(CodePageCodec::find(932)->decodePair(0x93, 0x20), 0u);
    EXPECT_TRUE(isKeptByte(keptByte(0xB7)));
    for (int page : kPages) {
        std::string out;
        ASSERT_TRUE(CodePageCodec::find(page)->encode(keptByte(0xB7), out));
        EXPECT_EQ(out, "\xB7") << page;
    }
}

TEST(CodePageCodec, MacintoshCharactersThatWindowsLacks) {
    EXPECT_EQ(tessel::platform::macRomanOnlyByte(U'π'), 0xB9);
    EXPECT_EQ(tessel::platform::macRomanOnlyByte(U'∞'), 0xB0);
    EXPECT_EQ(tessel::platform::macRomanOnlyByte(U'é'), 0) << "1252 holds it";
    EXPECT_EQ(tessel::platform::macRomanOnlyByte(U'Ł'), 0) << "neither holds it";
}

}  // namespace

namespace tessel::platform {
namespace {

// ISO 8859-6 (Arabic), code page 28596, against the mapping the Unicode
// Consortium publishes for it (MAPPINGS/ISO8859/8859-6.TXT): C1 controls at
// their own numbers, NBSP, currency sign, Arabic comma, soft hyphen,
// semicolon and question mark, the letters C1 to DA and E0 to F2 from
// U+0621 and U+0640; every other byte undefined (a kept byte), and each
// character written back as its byte.
TEST(CodePageCodec, Iso8859SixFollowsThePublishedMapping) {
    const CodePageCodec* arabic = CodePageCodec::find(28596);
    ASSERT_NE(arabic, nullptr);
    EXPECT_FALSE(arabic->isDoubleByte());
    std::array<char32_t, 128> expected{};
    for (unsigned b = 0x80; b <= 0x9F; ++b) expected[b - 0x80] = b;
    for (auto [byte, c] :
         {std::pair{0xA0u, U'\u00A0'}, std::pair{0xA4u, U'\u00A4'}, std::pair{0xACu, U'\u060C'},
          std::pair{0xADu, U'\u00AD'}, std::pair{0xBBu, U'\u061B'}, std::pair{0xBFu, U'\u061F'}}) {
        expected[byte - 0x80] = c;
    }
    for (unsigned b = 0xC1; b <= 0xDA; ++b) expected[b - 0x80] = 0x0621 + (b - 0xC1);
    for (unsigned b = 0xE0; b <= 0xF2; ++b) expected[b - 0x80] = 0x0640 + (b - 0xE0);
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        const char32_t c = expected[b - 0x80];
        const auto byte = static_cast<std::uint8_t>(b);
        EXPECT_EQ(arabic->decode(byte), c == 0 ? keptByte(byte) : c) << std::hex << b;
        std::string out;
        EXPECT_TRUE(arabic->encode(arabic->decode(byte), out));
        EXPECT_EQ(out, std::string(1, static_cast<char>(byte))) << std::hex << b;
    }
    std::string none;
    EXPECT_FALSE(arabic->encode(U'\u0627' + 0x100, none));
}

}  // namespace
}  // namespace tessel::platform
