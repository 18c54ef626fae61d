// Code-page classes and lead bytes.
#include "platform/code_pages.h"

#include <gtest/gtest.h>

#include "parser/runtime_test_support.h"

namespace tessel::platform {
namespace {

TEST(CodePages, ClassesFollowTheTable) {
    EXPECT_EQ(codePageClass(1252), CodePageClass::SingleByte);
    EXPECT_EQ(codePageClass(1250), CodePageClass::SingleByte);
    EXPECT_EQ(codePageClass(1258), CodePageClass::SingleByte);
    EXPECT_EQ(codePageClass(874), CodePageClass::SingleByte);
    EXPECT_EQ(codePageClass(1361), CodePageClass::SingleByte);
    EXPECT_EQ(codePageClass(932), CodePageClass::Japanese);
    EXPECT_EQ(codePageClass(936), CodePageClass::SimplifiedChinese);
    EXPECT_EQ(codePageClass(949), CodePageClass::Korean);
    EXPECT_EQ(codePageClass(950), CodePageClass::TraditionalChinese);
    EXPECT_EQ(codePageClass(1259), CodePageClass::Other);
    EXPECT_EQ(codePageClass(437), CodePageClass::Other);
}

TEST(CodePages, LeadByteRanges) {
    struct Case {
        int codePage;
        std::uint8_t byte;
        bool lead;
    };
    for (Case c : {Case{932, 0x80, false}, Case{932, 0x81, true}, Case{932, 0x9F, true},
                   Case{932, 0xA0, false}, Case{932, 0xDF, false}, Case{932, 0xE0, true},
                   Case{932, 0xFC, true}, Case{932, 0xFD, false}, Case{936, 0xA0, false},
                   Case{936, 0xA1, true}, Case{936, 0xFE, true}, Case{936, 0xFF, false},
                   Case{949, 0x80, false}, Case{949, 0x81, true}, Case{949, 0xFE, true},
                   Case{950, 0x81, true}, Case{950, 0xFF, false}, Case{1252, 0x81, false},
                   Case{437, 0xE0, false}}) {
        EXPECT_EQ(isLeadByte(c.codePage, c.byte), c.lead) << c.codePage << " " << int(c.byte);
    }
}

TEST(CodePages, ActiveCodePageComesFromTheEnvironment) {
    {
        test::ScopedEnv acp("TESSEL_ACP", "936");
        EXPECT_EQ(activeAnsiCodePage(), 936);
        EXPECT_TRUE(isLeadByteOfClass(CodePageClass::Active, 0xA1));
    }
    for (const char* bad : {"", "abc", "12x", "0", "999999"}) {
        test::ScopedEnv acp("TESSEL_ACP", bad);
        EXPECT_EQ(activeAnsiCodePage(), 1252) << bad;
        EXPECT_FALSE(isLeadByteOfClass(CodePageClass::Active, 0x81));
    }
}

}  // namespace
}  // namespace tessel::platform
