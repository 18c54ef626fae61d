// JSON strings for any bytes, and objects field by field.
#include "core/json_text.h"

#include <gtest/gtest.h>

namespace tessel::app {
namespace {

TEST(JsonString, EscapesWhatJsonNeedsAndPassesValidUtf8) {
    EXPECT_EQ(jsonString("plain"), "\"plain\"");
    EXPECT_EQ(jsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(jsonString("\n\r\t"), "\"\\n\\r\\t\"");
    EXPECT_EQ(jsonString(std::string("\x01\x1f\x7f", 3)), "\"\\u0001\\u001f\\u007f\"");
    EXPECT_EQ(jsonString(std::string("a\0b", 3)), "\"a\\u0000b\"");
    // Two, three and four bytes, the last ones allowed.
    EXPECT_EQ(jsonString("é € 😀 \xf4\x8f\xbf\xbf"), "\"é € 😀 \xf4\x8f\xbf\xbf\"");
}

// Each byte outside valid UTF-8 becomes \udcXX, so that the bytes can be had
// back; the bytes around it are read on.
TEST(JsonString, BytesOutsideValidUtf8AreEscapedOneByOne) {
    EXPECT_EQ(jsonString("caf\xe9"), "\"caf\\udce9\"");                             // Latin-1
    EXPECT_EQ(jsonString("\xc0\xaf"), "\"\\udcc0\\udcaf\"");                        // overlong
    EXPECT_EQ(jsonString("\xed\xa0\x80"), "\"\\udced\\udca0\\udc80\"");             // a surrogate
    EXPECT_EQ(jsonString("\xf4\x90\x80\x80"), "\"\\udcf4\\udc90\\udc80\\udc80\"");  // > U+10FFFF
    EXPECT_EQ(jsonString("\xe2\x82"), "\"\\udce2\\udc82\"");                        // cut short
    EXPECT_EQ(jsonString("\x80x\xe2\x82\xac"), "\"\\udc80x€\"");  // stray, then valid
}

TEST(JsonObject, FieldsInOrderWithNullsForMissingValues) {
    std::string object = JsonObject()
                             .text("name", "a\"b")
                             .optionalText("none", std::nullopt)
                             .optionalText("some", std::string("x"))
                             .number("n", -113)
                             .optionalNumber("count", std::nullopt)
                             .flag("yes", true)
                             .flag("no", false)
                             .str();
    EXPECT_EQ(object,
              "{\"name\":\"a\\\"b\",\"none\":null,\"some\":\"x\",\"n\":-113,\"count\":null,"
              "\"yes\":true,\"no\":false}");
    EXPECT_EQ(JsonObject().str(), "{}");
}

}  // namespace
}  // namespace tessel::app
