// Compatible HTML writes the code-page-1252 punctuation as plain characters
// or basic entities: the log tells each kind it substitutes, once per file,
// quoting the first line that holds it.
#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

using tessel::test::readFile;
using tessel::test::TempDir;

constexpr const char* kPunctuationRtf =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times;}}"
    "\\pard\\plain \\ldblquote Hi\\rdblquote  \\endash  \\ldblquote x\\rdblquote\\par "
    "\\ldblquote again\\rdblquote  \\emdash\\bullet  \\lquote q\\rquote\\par }";

std::string dashes() {
    return std::string(58, '-');
}

TEST(RtfBackCompatibleHtml, EachSubstitutedKindIsLoggedOnceAtItsFirstLine) {
    TempDir dir;
    std::string path = dir.write("t.rtf", kPunctuationRtf);
    EXPECT_EQ(f_iRTF2CompatibleHTML(path.c_str(), ".htm"), -113);
    EXPECT_EQ(readFile(dir.file("t.htm")),
              "&quot;Hi&quot; - &quot;x&quot;\r\n&quot;again&quot; -* &#39;q&#39;\r\n");
    std::string log = readFile(dir.file("t.ERR"));
    const std::string first = "&quot;Hi&quot; - &quot;x&quot;";
    const std::string second = "&quot;again&quot; -* &#39;q&#39;";
    auto message = [&](int number, const std::string& line, const std::string& detail) {
        return "[" + std::to_string(number) +
               "] Compatible HTML writes a character of the following text segment as a "
               "substitute:\r\n" +
               dashes() + "\r\n" + line + "\r\n" + dashes() + "\r\n" + detail +
               ". Every further one in this file is written so too, without another "
               "message.\r\n\r\n";
    };
    std::string expected = message(1, first, "U+201C (\x93) is written as \"&quot;\"") +
                           message(2, first, "U+201D (\x94) is written as \"&quot;\"") +
                           message(3, first, "U+2013 (\x96) is written as \"-\"") +
                           message(4, second, "U+2014 (\x97) is written as \"-\"") +
                           message(5, second, "U+2022 (\x95) is written as \"*\"") +
                           message(6, second, "U+2018 (\x91) is written as \"&#39;\"") +
                           message(7, second, "U+2019 (\x92) is written as \"&#39;\"");
    EXPECT_NE(log.find(expected), std::string::npos) << log;
    EXPECT_EQ(log.find("[8]"), std::string::npos) << log;
}

TEST(RtfBackCompatibleHtml, NamedEntitiesAndPlainTextSubstituteNothing) {
    TempDir dir;
    std::string path = dir.write("t.rtf", kPunctuationRtf);
    EXPECT_EQ(f_iRTF2HTML(path.c_str(), ".htm"), 0) << "named entities hold every character";
    std::string plain = dir.write("p.rtf", "{\\rtf1\\ansi\\pard caf\\'e9 <b>\\par }");
    EXPECT_EQ(f_iRTF2CompatibleHTML(plain.c_str(), ".htm"), 0);
    EXPECT_EQ(readFile(dir.file("p.htm")), "caf&eacute; <b>\r\n");
    EXPECT_EQ(dir.listing(), "p.htm p.rtf t.htm t.rtf") << "no log kept";
}

}  // namespace
