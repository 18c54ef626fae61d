// The control-word table: every row is one the reader can act on, and every
// word is found by its exact spelling only.
#include "resources/rtf_keywords.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using tessel::resources::kRtfWordIndex;
using tessel::resources::RtfAction;
using tessel::resources::RtfKeyword;
using tessel::resources::RtfKeywordKind;
using tessel::resources::rtfKeywords;
using tessel::resources::rtfTextKeywords;
using tessel::resources::RtfWordAction;

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
                EXPECT_TRUE(row.index >= 1 && row.index <= 5) << row.word;
                break;
            case RtfKeywordKind::Special:
                EXPECT_TRUE(row.index >= 0 && row.index <= 2) << row.word;
                break;
        }
        EXPECT_LE(row.word.size(), 29u) << "longer words could never be read";
    }
    EXPECT_EQ(words.size(), 66u);
}

// The reader's action for each row, as the index holds it.
RtfWordAction expectedAction(const RtfKeyword& row) {
    switch (row.kind) {
        case RtfKeywordKind::Property:
            if (row.index == tessel::resources::kPropHidden) return {RtfAction::Hidden, 1};
            if (row.index == tessel::resources::kPropUnderline ||
                row.index == tessel::resources::kPropDoubleUnderline) {
                return {RtfAction::Formatting, tessel::resources::kFormattingUnderline};
            }
            if (row.index == tessel::resources::kPropNoUnderline) {
                return {RtfAction::Formatting, tessel::resources::kFormattingUnderline |
                                                   tessel::resources::kFormattingOff};
            }
            return {
                row.index == tessel::resources::kPropPlain ? RtfAction::Plain : RtfAction::NoEffect,
                0};
        case RtfKeywordKind::Character:
            return {RtfAction::Character, static_cast<std::uint8_t>(row.index)};
        case RtfKeywordKind::Destination:
            if (row.index == tessel::resources::kDestFootnote) return {RtfAction::Footnote, 0};
            if (row.index == tessel::resources::kDestFontTable) return {RtfAction::FontTable, 0};
            return {RtfAction::Destination, 0};
        case RtfKeywordKind::Special:
            if (row.index == tessel::resources::kSpecialBinary) return {RtfAction::Binary, 0};
            if (row.index == tessel::resources::kSpecialHexByte) return {RtfAction::HexByte, 0};
            return {RtfAction::SkipUnknown, 0};
    }
    return {};
}

void expectAction(std::string_view word, RtfWordAction expected) {
    RtfWordAction found = kRtfWordIndex.find(word);
    EXPECT_EQ(found.action, expected.action) << word;
    EXPECT_EQ(found.value, expected.value) << word;
}

// Every word of both tables has a slot of its own in the reader's index;
// words that differ only in their last bytes, beyond the first eight, or
// only in length are told apart.
TEST(RtfKeywords, IndexFindsEachRowExactly) {
    for (const auto& row : rtfKeywords()) expectAction(row.word, expectedAction(row));
    expectAction("par", {RtfAction::Character, 10});
    expectAction("fonttbl", {RtfAction::FontTable, 0});
    expectAction("footnote", {RtfAction::Footnote, 0});
    expectAction("pict", {RtfAction::Destination, 0});
    expectAction("u", {RtfAction::Unicode, 0});
    expectAction("cs", {RtfAction::CharacterStyle, 0});
    expectAction("fcharset", {RtfAction::FontCharset, 0});
    expectAction("ansicpg", {RtfAction::DocumentCodePage, 0});
    expectAction("-", {RtfAction::OptionalHyphen, 0});
    expectAction("_", {RtfAction::NonBreakingHyphen, 0});
    expectAction("annotation", {RtfAction::Annotation, 0});
    expectAction("atnparent", {RtfAction::DroppedText, 0});
    expectAction("mvtol", {RtfAction::DroppedText, 0});
    // Written with changes tracked or not, or only with a word that makes
    // the change: no change of their own.
    for (const char* plain : {"revauth", "revdttmdel", "insrsid", "rsid", "pnrnot", "chatn"}) {
        expectAction(plain, {RtfAction::Unknown, 0});
    }
    expectAction("b", {RtfAction::Bold, 0});
    expectAction("i", {RtfAction::Italic, 0});
    for (const auto& row : rtfTextKeywords()) {
        EXPECT_GE(kRtfWordIndex.find(row.word).action, RtfAction::Unicode) << row.word;
    }
    for (const char* absent : {"ldblquotx", "ldblquotee", "ldblquot", "stylesheex", "stylesheets",
                               "fcharse", "fcharsets", "", "PAR", "pa", "pard0", "bi", "fonttb",
                               "xee", "ansicpgx", "abcdefghijklm", "stylesheetstylesheet"}) {
        expectAction(absent, {RtfAction::Unknown, 0});
    }
}

// Control symbols (a byte that is not a letter) are looked up by that byte.
TEST(RtfKeywords, SymbolsByTheirByte) {
    EXPECT_EQ(kRtfWordIndex.findSymbol('\'').action, RtfAction::HexByte);
    EXPECT_EQ(kRtfWordIndex.findSymbol('*').action, RtfAction::SkipUnknown);
    EXPECT_EQ(kRtfWordIndex.findSymbol('~').value, 160);
    EXPECT_EQ(kRtfWordIndex.findSymbol('\n').value, 10);
    EXPECT_EQ(kRtfWordIndex.findSymbol('\r').value, 13);
    EXPECT_EQ(kRtfWordIndex.findSymbol('-').action, RtfAction::OptionalHyphen);
    for (int absent : {int{'0'}, int{' '}, int{'!'}, int{';'}, 0xE9, 0}) {
        EXPECT_EQ(kRtfWordIndex.findSymbol(static_cast<unsigned char>(absent)).action,
                  RtfAction::Unknown)
            << absent;
    }
}

}  // namespace
