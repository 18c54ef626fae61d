#include "dtp/text_piece.h"

#include <gtest/gtest.h>

#include "dtp/static_file_map.h"

namespace tessel::dtp {
namespace {

std::int32_t testFile() {
    return registerSourceFile("text_piece_test.src");
}

CTextPiece piece(std::uint32_t l1, std::uint32_t c1, std::uint32_t l2, std::uint32_t c2,
                 std::string text = "x") {
    return CTextPiece(std::move(text), l1, c1, l2, c2, testFile());
}

TEST(StaticFileMap, NumbersNamesOnceAndReadsBack) {
    std::int32_t first = registerSourceFile("map_a.txt");
    std::int32_t second = registerSourceFile("map_b.txt");
    EXPECT_GE(first, 1);
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(registerSourceFile("map_a.txt"), first);
    EXPECT_EQ(sourceFileName(second), "map_b.txt");
    EXPECT_EQ(sourceFileName(0), "");
    EXPECT_EQ(sourceFileName(100000), "");
}

TEST(TextPieceRange, LexemeOnOneLineEndsAfterItsBytes) {
    CTextPiece p = CTextPiece::fromLexeme("<B>", 3, 5, testFile());
    EXPECT_EQ(p, piece(3, 5, 3, 8, "<B>"));
}

TEST(TextPieceRange, LineBreaksMoveTheEndDown) {
    EXPECT_EQ(CTextPiece::fromLexeme("<a\nbc>", 2, 4, testFile()), piece(2, 4, 3, 4, "<a\nbc>"));
    // CR LF counts once, lone CR and LF once each.
    EXPECT_EQ(CTextPiece::fromLexeme("a\r\nb\rc\nde", 1, 1, testFile()).endLine, 4u);
    EXPECT_EQ(CTextPiece::fromLexeme("a\r\nb\rc\nde", 1, 1, testFile()).endColumn, 3u);
    // A lexeme ending in its line end ends at column 1 of the next line.
    EXPECT_EQ(CTextPiece::fromLexeme("ab\n", 7, 9, testFile()), piece(7, 9, 8, 1, "ab\n"));
}

TEST(TextPieceRange, BreaksAreCountedAcrossLongLexemes) {
    // Breaks at every offset of a lexeme longer than the chunks the search
    // compares at once, with a CR LF split over every chunk boundary.
    for (std::size_t at = 0; at + 1 < 40; ++at) {
        std::string lexeme(40, 'x');
        lexeme[at] = '\r';
        lexeme[at + 1] = '\n';
        CTextPiece crlf = CTextPiece::rangeOfLexeme(lexeme, 4, 2, testFile());
        EXPECT_EQ(crlf.endLine, 5u) << at;
        EXPECT_EQ(crlf.endColumn, static_cast<std::uint32_t>(1 + 40 - (at + 2))) << at;
        if (at + 2 == lexeme.size()) continue;
        // A lone CR, and a lone LF ending the lexeme.
        lexeme[at + 1] = 'x';
        lexeme.back() = '\n';
        CTextPiece lone = CTextPiece::rangeOfLexeme(lexeme, 4, 2, testFile());
        EXPECT_EQ(lone.endLine, 6u) << at;
        EXPECT_EQ(lone.endColumn, 1u) << at;
    }
    std::string plain(100, 'y');
    EXPECT_EQ(CTextPiece::rangeOfLexeme(plain, 3, 7, testFile()), piece(3, 7, 3, 107, ""));
}

TEST(TextPieceValidity, NeedsPositionsOrderAndAKnownFile) {
    EXPECT_TRUE(piece(1, 1, 1, 1).isValid());
    EXPECT_TRUE(piece(1, 5, 2, 1).isValid());
    EXPECT_FALSE(piece(0, 1, 1, 1).isValid());
    EXPECT_FALSE(piece(1, 1, 1, 0).isValid());
    EXPECT_FALSE(piece(2, 1, 1, 9).isValid());
    EXPECT_FALSE(piece(1, 5, 1, 4).isValid());
    EXPECT_FALSE(CTextPiece("x", 1, 1, 1, 2, 0).isValid());
    // The positions alone: a piece of no known file may still have them.
    EXPECT_TRUE(CTextPiece("x", 1, 1, 1, 2, 0).hasValidPositions());
    EXPECT_FALSE(piece(1, 5, 1, 4).hasValidPositions());
    EXPECT_FALSE(piece(1, 0, 1, 4).hasValidPositions());
    EXPECT_TRUE(piece(4, 2, 4, 2).isEmpty());
    EXPECT_FALSE(piece(4, 2, 4, 3).isEmpty());
}

TEST(TextPieceWiden, CoversBothSymbolsAndKeepsTheFirstText) {
    CTextPiece a = piece(2, 3, 2, 4, "<");
    a.widenBy(piece(2, 9, 2, 10, ">"));
    EXPECT_EQ(a, piece(2, 3, 2, 10, "<"));
    CTextPiece invalid;
    invalid.widenBy(piece(5, 1, 6, 2, ">"));
    EXPECT_EQ(invalid, CTextPiece("", 5, 1, 6, 2, testFile()));
    CTextPiece kept = piece(1, 2, 1, 3);
    kept.widenBy(CTextPiece());
    EXPECT_EQ(kept, piece(1, 2, 1, 3));
}

TEST(TextPieceWiden, GivenValidityDecidesInsteadOfTheChecks) {
    // Told it is invalid, a piece takes the other's range and file.
    CTextPiece replaced = piece(1, 2, 1, 3, "a");
    replaced.widenBy(piece(4, 1, 4, 6, ">"), false, true);
    EXPECT_EQ(replaced, CTextPiece("a", 4, 1, 4, 6, testFile()));
    // Told the other is invalid, a piece keeps its range.
    CTextPiece kept = piece(1, 2, 1, 3, "a");
    kept.widenBy(piece(4, 1, 4, 6, ">"), true, false);
    EXPECT_EQ(kept, piece(1, 2, 1, 3, "a"));
    CTextPiece widened = piece(3, 2, 3, 3, "a");
    widened.widenBy(piece(1, 1, 4, 6, ">"), true, true);
    EXPECT_EQ(widened, piece(1, 1, 4, 6, "a"));
}

TEST(TextPieceJoin, GivesTheWholeRangeAndTextsInOrder) {
    CTextPiece joined;
    joined.join(piece(1, 1, 1, 3, "ab"));
    joined.join(piece(1, 3, 1, 5, "cd"));
    joined.join(piece(1, 5, 2, 1, "e\n"));
    EXPECT_EQ(joined, piece(1, 1, 2, 1, "abcde\n"));
    CTextPiece later = piece(3, 4, 3, 6, "yz");
    later.join(piece(3, 1, 3, 4, "wx_"));
    EXPECT_EQ(later, piece(3, 1, 3, 6, "wx_yz"));
}

TEST(TextPieceOrder, OverlapAndOrderRules) {
    EXPECT_TRUE(piece(1, 1, 1, 5).overlaps(piece(1, 4, 1, 9)));
    EXPECT_FALSE(piece(1, 1, 1, 5).overlaps(piece(1, 5, 1, 9)));  // touching
    EXPECT_TRUE(piece(1, 1, 3, 1).overlaps(piece(2, 7, 2, 8)));
    EXPECT_TRUE(piece(2, 2, 2, 2).overlaps(piece(2, 2, 2, 2)));
    EXPECT_FALSE(piece(2, 2, 2, 2).overlaps(piece(2, 1, 2, 4)));  // empty and non-empty
    EXPECT_FALSE(piece(1, 1, 1, 5).overlaps(CTextPiece("x", 1, 1, 1, 5, registerSourceFile("o"))));

    EXPECT_TRUE(piece(1, 1, 1, 2).comesBefore(piece(1, 3, 1, 4)));
    EXPECT_TRUE(piece(1, 9, 1, 12).comesBefore(piece(2, 1, 2, 2)));
    EXPECT_FALSE(piece(1, 3, 1, 4).comesBefore(piece(1, 1, 1, 2)));
    EXPECT_FALSE(piece(1, 1, 1, 5).comesBefore(piece(1, 2, 1, 9)));  // overlapping
    EXPECT_TRUE(piece(1, 3, 1, 3).comesBefore(piece(1, 3, 1, 6)));   // empty first
    EXPECT_FALSE(piece(1, 3, 1, 6).comesBefore(piece(1, 3, 1, 3)));
    EXPECT_TRUE(piece(1, 3, 1, 3).comesBefore(piece(1, 3, 1, 3)));
}

}  // namespace
}  // namespace tessel::dtp
