#include "resources/mac_tables.h"

#include <gtest/gtest.h>

namespace tessel::resources {
namespace {

TEST(MacTables, ControlCharactersAndAscii) {
    for (int b : {1, 8, 11, 14, 31}) {
        EXPECT_EQ(macToAnsiTable()[b], kNoCounterpart) << b;
        EXPECT_EQ(ansiToMacTable()[b], kNoCounterpart) << b;
    }
    for (int b : {9, 10, 12, 13, 32, 65, 126, 127}) {
        EXPECT_EQ(macToAnsiTable()[b], b);
        EXPECT_EQ(ansiToMacTable()[b], b);
    }
}

TEST(MacTables, MacintoshToAnsiByIdentityAndItsExceptions) {
    const auto& t = macToAnsiTable();
    EXPECT_EQ(t[0x8E], 0xE9);            // e acute
    EXPECT_EQ(t[0xA5], 0x95);            // bullet
    EXPECT_EQ(t[0xD2], 0x93);            // left double quote
    EXPECT_EQ(t[0xDB], 0xA4);            // currency sign
    EXPECT_EQ(t[0xCE], 0x8C);            // OE ligature
    EXPECT_EQ(t[0xAD], kNoCounterpart);  // not-equal sign
    EXPECT_EQ(t[0xF0], kNoCounterpart);  // the private-use glyph
    for (int b = 0xB6; b <= 0xBD; ++b) EXPECT_EQ(t[b], kNoCounterpart) << b;
    EXPECT_EQ(t[0xD0], 0xAD);
    EXPECT_EQ(t[0xD1], 0x96);
    EXPECT_EQ(t[0xFC], kNoCounterpart);
    EXPECT_EQ(t[0xFE], 0xB8);
}

TEST(MacTables, AnsiToMacintoshByIdentityAndItsExceptions) {
    const auto& t = ansiToMacTable();
    EXPECT_EQ(t[0xE9], 0x8E);
    EXPECT_EQ(t[0x99], 0xAA);            // trade mark
    EXPECT_EQ(t[0x8A], kNoCounterpart);  // S caron
    EXPECT_EQ(t[0x81], kNoCounterpart);  // undefined in 1252
    EXPECT_EQ(t[0x80], kNoCounterpart);
    EXPECT_EQ(t[0x96], 0xD1);
    EXPECT_EQ(t[0x97], kNoCounterpart);
    EXPECT_EQ(t[0xA4], 0xDB);
    EXPECT_EQ(t[0xAA], kNoCounterpart);
    EXPECT_EQ(t[0xAD], 0xD0);
    EXPECT_EQ(t[0xB8], 0xFE);
    EXPECT_EQ(t[0xBA], kNoCounterpart);
}

TEST(MacTables, EveryOtherMappedCharacterRoundTrips) {
    // Outside the deliberate exceptions the two tables are inverse.
    const auto& toAnsi = macToAnsiTable();
    const auto& toMac = ansiToMacTable();
    for (int b = 0x80; b < 256; ++b) {
        int ansi = toAnsi[b];
        if (ansi == kNoCounterpart || b == 0xD0 || b == 0xD1 || b == 0xFE) continue;
        EXPECT_EQ(toMac[ansi], b) << std::hex << b;
    }
}

}  // namespace
}  // namespace tessel::resources
