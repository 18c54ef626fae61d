// Scanning: positions, longest match, anchors, BOF, ignore tokens, expression
// lists and the guards against matches that consume nothing.
#include "parser/ss_lex.h"

#include <gtest/gtest.h>

#include "parser/ss_lex_memory_input.h"
#include "runtime_test_support.h"
#include "table_builder.h"

namespace tessel::test {
namespace {

using parser::SSLex;
using parser::SSLexMemoryInput;
using parser::SSLexTableSet;

// Words, capitals, spaces (ignored), LF, "<", "<*INDEX" and "*".
Bytes textTable() {
    LexListBuilder list;
    list.bofIgnored();
    list.run('a', 'z', token(1));
    list.run('A', 'Z', token(8));
    list.single(' ', ' ', ignored(2));
    list.single('\n', '\n', token(3));
    list.literal("<*INDEX", token(6));
    list.literal("<", token(4));
    list.single('*', '*', token(7));
    return lexTableBytes({list});
}

struct Scan {
    explicit Scan(const Bytes& image, std::string_view text)
        : tables(SSLexTableSet::fromImage(image, "TestLexTable")),
          input(text),
          lex(input, tables) {}
    SSLexTableSet tables;
    SSLexMemoryInput input;
    SSLex lex;
};

TEST(SSLexPositions, LinesAndColumnsFollowLineFeeds) {
    Scan scan(textTable(), "\nab cd\nEF");
    EXPECT_EQ(
        scanAll(scan.lex),
        (std::vector<Lexeme>{
            {3, "\n", 1, 1}, {1, "ab", 2, 1}, {1, "cd", 2, 4}, {3, "\n", 2, 6}, {8, "EF", 3, 1}}));
    EXPECT_EQ(scan.lex.tokensReturned(), 5u);
}

TEST(SSLexPositions, TokensCarryStreamOffsetsAndTwoZeroBytes) {
    Scan scan(textTable(), "ab  cd");
    auto first = scan.lex.nextToken();
    auto second = scan.lex.nextToken();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->streamOffset(), 0u);
    EXPECT_EQ(second->streamOffset(), 4u);
    EXPECT_FALSE(second->ownsText());
    EXPECT_EQ(second->length(), 2u);
    EXPECT_EQ(second->text()[2], '\0');
    EXPECT_EQ(second->text()[3], '\0');
    EXPECT_EQ(second->alternateTokenNumber(), 0);
    EXPECT_FALSE(scan.lex.nextToken());
    EXPECT_FALSE(scan.lex.nextToken());  // end of input stays the end
}

TEST(SSLexMatching, LongestMatchRescansAfterTheShorterToken) {
    Scan scan(textTable(), "<*INDE x<*INDEX");
    EXPECT_EQ(scanAll(scan.lex), (std::vector<Lexeme>{{4, "<", 1, 1},
                                                      {7, "*", 1, 2},
                                                      {8, "INDE", 1, 3},
                                                      {1, "x", 1, 8},
                                                      {6, "<*INDEX", 1, 9}}));
}

TEST(SSLexMatching, RescanningAtTheEndOfTheDataLosesNothing) {
    Scan scan(textTable(), "<*INDE");
    EXPECT_EQ(scanAll(scan.lex),
              (std::vector<Lexeme>{{4, "<", 1, 1}, {7, "*", 1, 2}, {8, "INDE", 1, 3}}));
}

TEST(SSLexMatching, UnmatchedCharacterThrowsInvalidTokenWithItsPosition) {
    Scan scan(textTable(), "ab\nc#d");
    EXPECT_EQ(scan.lex.nextToken()->textView(), "ab");
    EXPECT_EQ(scan.lex.nextToken()->textView(), "\n");
    EXPECT_EQ(scan.lex.nextToken()->textView(), "c");
    EXPECT_EQ(expectSSError([&] { scan.lex.nextToken(); }, 5),
              "SSLex0105e: Invalid token, Line 2, Offset 2, #");
    // The bad character was consumed: scanning goes on behind it.
    auto next = scan.lex.nextToken();
    ASSERT_TRUE(next);
    EXPECT_EQ(next->textView(), "d");
    EXPECT_EQ(next->offset(), 3);
}

TEST(SSLexMatching, InvalidTokenHookMayDropCharacters) {
    struct Skipping : SSLex {
        using SSLex::SSLex;
        int calls = 0;
        parser::SSRefPtr<parser::SSToken> invalidToken(parser::SSLexInput&) override {
            ++calls;
            return {};
        }
    };
    auto tables = SSLexTableSet::fromImage(textTable(), "T");
    SSLexMemoryInput input("a#%b");
    Skipping lex(input, tables);
    EXPECT_EQ(scanAll(lex), (std::vector<Lexeme>{{1, "a", 1, 1}, {1, "b", 1, 4}}));
    EXPECT_EQ(lex.calls, 2);
}

TEST(SSLexMatching, WithoutBofRuleTheFirstTokenIsInvalid) {
    LexListBuilder list;
    list.run('a', 'z', token(1));
    Scan scan(lexTableBytes({list}), "ab");
    EXPECT_EQ(expectSSError([&] { scan.lex.nextToken(); }, 5),
              "SSLex0105e: Invalid token, Line 1, Offset 1, ");
    EXPECT_EQ(scanAll(scan.lex), (std::vector<Lexeme>{{1, "ab", 1, 1}}));
}

TEST(SSLexMatching, MatchesThatConsumeNothingAreNotTokens) {
    // The start state itself accepts: an empty match would be found forever.
    LexListBuilder accepting;
    accepting.bofIgnored();
    accepting.setAccept(0, token(5));
    accepting.single('a', 'a', token(1));
    Scan scan(lexTableBytes({accepting}), "ab");
    EXPECT_EQ(scan.lex.nextToken()->textView(), "a");
    expectSSError([&] { scan.lex.nextToken(); }, 5);

    // An end-of-line token that is only the line end gives everything back.
    LexListBuilder eolOnly;
    eolOnly.bofIgnored();
    eolOnly.single('\n', '\n', ignored(9, parser::kSSLexFlagEndAnchor));
    Scan lineEnd(lexTableBytes({eolOnly}), "\n");
    expectSSError([&] { lineEnd.lex.nextToken(); }, 5);
}

TEST(SSLexMatching, AlternateNumberFromTheAcceptEntry) {
    LexListBuilder list;
    list.bofIgnored();
    AcceptSpec accept = token(5, Alternate);
    accept.alternate = 50;
    list.run('a', 'z', accept);
    Scan scan(lexTableBytes({list}), "abc");
    auto t = scan.lex.nextToken();
    ASSERT_TRUE(t);
    EXPECT_EQ(t->tokenNumber(), 5);
    EXPECT_EQ(t->alternateTokenNumber(), 50);
    EXPECT_EQ(t->parserSymbol(), 50);
}

TEST(SSLexMatching, MissingTableOrInputIsAnError) {
    SSLex lex;
    EXPECT_EQ(expectSSError([&] { lex.nextToken(); }, 7),
              "SSLex0107e: Table or consumer missing, required");
    SSLexMemoryInput input("a");
    lex.setInput(input);
    expectSSError([&] { lex.nextToken(); }, 7);
    auto tables = SSLexTableSet::fromImage(textTable(), "T");
    lex.setTableSet(tables);
    EXPECT_EQ(scanAll(lex), (std::vector<Lexeme>{{1, "a", 1, 1}}));
}

// Text runs with and without a line end, line ends, "<$>" in the middle of a
// line and "<$>" at the start of a line (after LF or at BOF).
Bytes anchorTable() {
    LexListBuilder list;
    std::uint32_t bof = list.bofIgnored();
    std::uint32_t text = list.run('a', 'z', token(56));
    std::uint32_t textAtEol = list.addState(token(57, EndAnchor));
    list.addChar(text, '\n', textAtEol);
    std::uint32_t lineEnd = list.single('\n', '\n', token(55));
    list.literal("<$>", token(62, StartAnchor), lineEnd);
    list.literal("<$>", token(62, StartAnchor), bof);
    list.literal("<$>", token(60));
    return lexTableBytes({list});
}

TEST(SSLexAnchors, EndOfLineTokenGivesItsLineFeedBack) {
    Scan scan(anchorTable(), "ab\ncd\nxy");
    EXPECT_EQ(scanAll(scan.lex), (std::vector<Lexeme>{{57, "ab", 1, 1},
                                                      {55, "\n", 1, 1},
                                                      {57, "cd", 2, 1},
                                                      {55, "\n", 2, 1},
                                                      {56, "xy", 3, 1}}));
}

TEST(SSLexAnchors, StartOfLineTokenDropsItsLeadingLineFeed) {
    Scan scan(anchorTable(), "<$>ab\ncd\n<$>\nxy<$>");
    EXPECT_EQ(scanAll(scan.lex), (std::vector<Lexeme>{{62, "<$>", 1, 1},
                                                      {57, "ab", 1, 4},
                                                      {55, "\n", 1, 1},
                                                      {57, "cd", 2, 1},
                                                      {62, "<$>", 3, 1},
                                                      {55, "\n", 3, 4},
                                                      {56, "xy", 4, 1},
                                                      {60, "<$>", 4, 3}}));
}

TEST(SSLexAnchors, StartOfLineTokenStreamOffsetSkipsTheLineFeed) {
    Scan scan(anchorTable(), "a\n<$>");
    scan.lex.nextToken();  // "a" (end-of-line form)
    auto t = scan.lex.nextToken();
    ASSERT_TRUE(t);
    EXPECT_EQ(t->textView(), "<$>");
    EXPECT_EQ(t->streamOffset(), 2u);
}

// Before a header everything is skipped; the header switches to the text
// list; "<" pushes the tag list, which nests and pops at ">".
Bytes nestingTable() {
    LexListBuilder before;
    before.bofIgnored();
    before.literal("<PM>", token(2, Switch, 1));
    before.literal("<", ignored(1));
    before.single(0, '<' - 1, ignored(1));
    before.single('<' + 1, 255, ignored(1));
    LexListBuilder text;
    text.bofIgnored();
    text.run('a', 'z', token(3));
    text.single('<', '<', token(4, Push, 2));
    LexListBuilder tag;
    tag.run('a', 'z', token(9));
    tag.single('<', '<', token(10, Push, 2));
    tag.single('>', '>', token(11, Pop));
    return lexTableBytes({before, text, tag});
}

TEST(SSLexExpressionLists, PushPopAndSwitchFollowTheAcceptEntries) {
    Scan scan(nestingTable(), "xx<y<PM>ab<c<d>>ef");
    std::vector<std::pair<std::string, std::uint32_t>> seen;
    while (auto t = scan.lex.nextToken()) {
        seen.emplace_back(std::string(t->textView()), scan.lex.currentExpressionList());
    }
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, std::uint32_t>>{{"<PM>", 1},
                                                                        {"ab", 1},
                                                                        {"<", 2},
                                                                        {"c", 2},
                                                                        {"<", 2},
                                                                        {"d", 2},
                                                                        {">", 2},
                                                                        {">", 1},
                                                                        {"ef", 1}}));
    EXPECT_EQ(scan.lex.expressionListDepth(), 1u);
}

TEST(SSLexExpressionLists, StackErrors) {
    Scan scan(nestingTable(), "x");
    EXPECT_EQ(expectSSError([&] { scan.lex.pushExpressionList(7); }, 6),
              "SSLex0106e: Invalid expression list index, 7");
    EXPECT_EQ(scan.lex.currentExpressionList(), 0u);
    scan.lex.pushExpressionList(2);
    scan.lex.popExpressionList();
    EXPECT_EQ(scan.lex.currentExpressionList(), 0u);
    expectSSError([&] { scan.lex.popExpressionList(); }, 9);   // no list left to return to
    expectSSError([&] { scan.lex.popExpressionList(); }, 10);  // nothing left to pop
    expectSSError([&] { scan.lex.switchExpressionList(1); }, 10);
    scan.lex.pushExpressionList(1);
    scan.lex.switchExpressionList(2);
    EXPECT_EQ(scan.lex.currentExpressionList(), 2u);
    EXPECT_EQ(scan.lex.expressionListDepth(), 1u);
}

TEST(SSLexExpressionLists, DeepNestingNeedsNoRecursion) {
    const std::size_t depth = 100000;
    std::string text = "<PM>ab" + std::string(depth, '<') + std::string(depth, '>') + "cd";
    Scan scan(nestingTable(), text);
    std::size_t count = 0;
    std::size_t deepest = 0;
    std::string last;
    while (auto t = scan.lex.nextToken()) {
        ++count;
        deepest = std::max(deepest, scan.lex.expressionListDepth());
        last = std::string(t->textView());
    }
    EXPECT_EQ(count, 2 * depth + 3);
    EXPECT_EQ(deepest, depth + 1);
    EXPECT_EQ(last, "cd");
}

// Runs of every byte but the stops: "<" alone (line feeds are passed inside
// the run and counted), or "<" and LF (line feeds end the run).
Bytes runTable(bool lineFeedStops) {
    LexListBuilder list;
    list.bofIgnored();
    std::uint32_t text = list.addState(token(1));
    auto addRunRanges = [&](std::uint32_t from) {
        std::uint32_t low = 0;
        for (std::uint32_t stop : {std::uint32_t{'\n'}, std::uint32_t{'<'}}) {
            if (stop == '\n' && !lineFeedStops) continue;
            list.addRange(from, low, stop - 1, text);
            low = stop + 1;
        }
        list.addRange(from, low, 255, text);
    };
    addRunRanges(0);
    addRunRanges(text);
    if (lineFeedStops) list.single('\n', '\n', token(3));
    list.single('<', '<', token(4));
    return lexTableBytes({list});
}

TEST(SSLexRuns, LineFeedsInsideARunMoveLineAndColumn) {
    Scan scan(runTable(false), "\n\nab\ncd\n<\nx\n<yz");
    EXPECT_EQ(scanAll(scan.lex), (std::vector<Lexeme>{{1, "\n\nab\ncd\n", 1, 1},
                                                      {4, "<", 5, 1},
                                                      {1, "\nx\n", 5, 2},
                                                      {4, "<", 7, 1},
                                                      {1, "yz", 7, 2}}));
}

TEST(SSLexRuns, ALineFeedStopEndsTheRun) {
    Scan scan(runTable(true), "ab\n\ncd<e\n");
    EXPECT_EQ(scanAll(scan.lex), (std::vector<Lexeme>{{1, "ab", 1, 1},
                                                      {3, "\n", 1, 3},
                                                      {3, "\n", 2, 1},
                                                      {1, "cd", 3, 1},
                                                      {4, "<", 3, 3},
                                                      {1, "e", 3, 4},
                                                      {3, "\n", 3, 5}}));
}

TEST(SSLexMatching, MegabyteLineWithoutLineEnd) {
    std::string text(3 * 1024 * 1024, 'q');
    Scan scan(textTable(), text + " z");
    auto big = scan.lex.nextToken();
    ASSERT_TRUE(big);
    EXPECT_EQ(big->length(), text.size());
    auto z = scan.lex.nextToken();
    ASSERT_TRUE(z);
    EXPECT_EQ(z->offset(), static_cast<std::int32_t>(text.size() + 2));
}

}  // namespace
}  // namespace tessel::test
