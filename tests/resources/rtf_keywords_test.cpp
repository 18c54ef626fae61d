// The control-word table: every row is one the reader can act on, and every
// word is found by its exact spelling only.
#include "resources/rtf_keywords.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using tessel::resources::findRtfKeyword;
using tessel::resources::findRtfTextKeyword;
using tessel::resources::findRtfWord;
using tessel::resources::RtfKeywordKind;
using tessel::resources::rtfKeywords;
using tessel::resources::rtfTextKeywords;

TEST(RtfKeywords, RowsAreConsistent) {
    std::set<std::string_view> words;
    for (const auto& row : rtfKeywords()) {
        EXPECT_TRUE(words.insert(row.word).second) << "duplicate " << row.word;
        EXPECT_FALSE(row.useDefault) << row.word;
        EXPECT_EQ(row.defaultValue, row.kind == RtfKeywordKind::Property ? 1 : 0) << row.word;
        switch (row.kind) {
            case RtfKeywordKind::Property:
                EXPECT_TRUE(row.index >= 0 && row.index <= 7) << row.word;
                break;
            case RtfKeywordKind::Character:
                EXPECT_TRUE(row.index > 0 && row.index < 256) << row.word;
                break;
            case RtfKeywordKind::Destination:
                EXPECT_TRUE(row.index >= 1 && row.index <= 4) << row.word;
                break;
            case RtfKeywordKind::Special:
                EXPECT_TRUE(row.index >= 0 && row.index <= 2) << row.word;
                break;
        }
        EXPECT_LE(row.word.size(), 29u) << "longer words could never be read";
    }
    EXPECT_EQ(words.size(), 66u);
}

TEST(RtfKeywords, LookupIsExactAndCaseSensitive) {
    for (const auto& row : rtfKeywords()) EXPECT_EQ(findRtfKeyword(row.word), &row) << row.word;
    ASSERT_NE(findRtfKeyword("par"), nullptr);
    EXPECT_EQ(findRtfKeyword("par")->index, 10);
    EXPECT_EQ(findRtfKeyword("footnote")->index, 2);
    EXPECT_EQ(findRtfKeyword("'")->kind, RtfKeywordKind::Special);
    for (const char* absent : {"PAR", "pa", "pard0", "", "u", "b", "cs", "fonttb", "xee"}) {
        EXPECT_EQ(findRtfKeyword(absent), nullptr) << absent;
    }
}

// The reader's combined lookup keeps a word's first eight bytes as one
// number: words that differ only beyond them, or only in length, must still
// be told apart.
TEST(RtfKeywords, CombinedLookupFindsEachTableRow) {
    for (const auto& row : rtfKeywords()) {
        EXPECT_EQ(findRtfWord(row.word).keyword, &row) << row.word;
        EXPECT_EQ(findRtfWord(row.word).textKeyword, nullptr) << row.word;
    }
    for (const auto& row : rtfTextKeywords()) {
        EXPECT_EQ(findRtfTextKeyword(row.word), &row) << row.word;
        EXPECT_EQ(findRtfWord(row.word).textKeyword, &row) << row.word;
        EXPECT_EQ(findRtfWord(row.word).keyword, nullptr) << row.word;
    }
    for (const char* absent : {"ldblquotx", "ldblquotee", "ldblquot", "stylesheex", "stylesheets",
                               "fcharse", "fcharsets", "", "PAR", "ansicpgx"}) {
        EXPECT_EQ(findRtfWord(absent).keyword, nullptr) << absent;
        EXPECT_EQ(findRtfWord(absent).textKeyword, nullptr) << absent;
    }
}

}  // namespace
