// Styles by name: renumbered, with aliases, in any case; documents without a
// style sheet protect nothing.
#include "verify/style_sheet.h"

#include <gtest/gtest.h>

#include "frame/rtf_byte_source.h"

namespace tessel::verify {
namespace {

StyleSheet sheetOf(std::string_view rtf) {
    frame::MemoryByteSource source(rtf);
    return readStyleSheet(source);
}

TEST(StyleSheet, ProtectedStylesByTheirNames) {
    EXPECT_EQ(roleOfStyleName(" qz4lexExternal "), RunRole::External);
    EXPECT_EQ(roleOfStyleName("QZ4LEXINTERNAL,Tag"), RunRole::Internal);
    EXPECT_EQ(roleOfStyleName("DO_NOT_TRANSLATE"), RunRole::DoNotTranslate);
    EXPECT_EQ(roleOfStyleName("qz4lexMark"), RunRole::Text);

    // LibreOffice's form: starred entries with other numbers, and the old
    // numbers taken by other styles.
    StyleSheet sheet = sheetOf(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Times;}}{\\colortbl;\\red0\\green0\\blue0;}\n"
        "{\\stylesheet{\\s0\\snext0 Normal;}{\\*\\cs5\\snext5 Emphasis;}"
        "{\\*\\cs19\\snext19\\cf15 qz4lexExternal;}{\\*\\cs20 qz4lex\\'49nternal;}"
        "{\\*\\cs22{\\*\\keycode x} DO_NOT_TRANSLATE;}}\n\\pard body}");
    EXPECT_EQ(sheet.role(19), RunRole::External);
    EXPECT_EQ(sheet.role(20), RunRole::Internal);
    EXPECT_EQ(sheet.role(22), RunRole::DoNotTranslate);
    EXPECT_EQ(sheet.role(5), RunRole::Text);
    EXPECT_EQ(sheet.role(0), RunRole::Text) << "paragraph styles are not character styles";
    EXPECT_EQ(sheet.protectedStyles(), 3u);

    EXPECT_EQ(
        sheetOf("{\\rtf1\\ansi\\pard text{\\stylesheet{\\cs5 qz4lexExternal;}}}").protectedStyles(),
        0u)
        << "a style sheet after the body began is not read";
}

}  // namespace
}  // namespace tessel::verify
