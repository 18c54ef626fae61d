// Parser side of the grammar compiler: LALR(1) construction, conflicts,
// row order, recovery flags and marks, and the table byte layout.
#include <gtest/gtest.h>

#include <string>

#include "compiled_grammar.h"
#include "grammar_error.h"
#include "support/table_interpreter.h"

namespace tessel::grammar {
namespace {

using testing::tableWord;

// Tokens 1..9 as single characters 'a'..'i'.
const char* kLetters =
    "grammar t\nlexer-table TLex\nparser-table TYacc\nlist 0\n"
    "1 : a\n2 : b\n3 : c\n4 : d\n5 : e\n6 : f\n7 : g\n8 : h\n9 : i\n";

CompiledGrammar compile(const std::string& productions) {
    return compileGrammar(std::string(kLetters) + productions, "t.grammar");
}

std::vector<int> reductions(const CompiledGrammar& g, const std::string& text,
                            bool* accepted = nullptr) {
    auto outcome = testing::parseWithTable(g.yaccTable, testing::scanWithTable(g.lexTable, text));
    if (accepted) *accepted = outcome.accepted;
    return outcome.reductions;
}

TEST(GrammarCompilerParser, LalrGrammarThatIsNotSlrCompilesAndParses) {
    // S -> L = R | R ; L -> * R | id ; R -> L   (a = '=', b = '*', c = id)
    auto g = compile(
        "start N1\nP1 N1 -> N2 1 N3\nP2 N1 -> N3\nP3 N2 -> 2 N3\nP4 N2 -> 3\nP5 N3 -> N2\n");
    bool accepted = false;
    EXPECT_EQ(reductions(g, "bcac", &accepted), (std::vector<int>{4, 5, 3, 4, 5, 1}));
    EXPECT_TRUE(accepted);
    EXPECT_EQ(reductions(g, "c", &accepted), (std::vector<int>{4, 5, 2}));
    EXPECT_TRUE(accepted);
}

TEST(GrammarCompilerParser, EmptyProductionsAndLeftRecursion) {
    auto g = compile(
        "start N1\nP1 N1 ->\nP2 N1 -> N1 N2\nP3 N2 -> 1\nP4 N2 -> 2 N3 3\nP5 N3 ->\nP6 N3 -> N3 "
        "1\n");
    bool accepted = false;
    EXPECT_EQ(reductions(g, "", &accepted), (std::vector<int>{1}));
    EXPECT_TRUE(accepted);
    EXPECT_EQ(reductions(g, "abac", &accepted), (std::vector<int>{1, 3, 2, 5, 6, 4, 2}));
    EXPECT_TRUE(accepted);
    auto outcome = testing::parseWithTable(g.yaccTable, testing::scanWithTable(g.lexTable, "ac"));
    EXPECT_FALSE(outcome.accepted);
    EXPECT_EQ(outcome.errorToken, 3);
    EXPECT_EQ(outcome.expected, (std::vector<std::int32_t>{2, 1, -1}));
}

TEST(GrammarCompilerParser, ConflictsAreErrorsAtTheProductionsLine) {
    // E -> E + E | c: shift/reduce on '+', found when reducing by P1 (line 15).
    try {
        compile("start N1\nP1 N1 -> N1 1 N1\nP2 N1 -> 3\n");
        FAIL() << "conflict not reported";
    } catch (const GrammarError& e) {
        EXPECT_EQ(e.line(), 15);
        EXPECT_NE(std::string(e.what()).find("shift/reduce conflict on token 1"), std::string::npos)
            << e.what();
    }
    try {
        compile("start N1\nP1 N1 -> N2\nP2 N1 -> N3\nP3 N2 -> 1\nP4 N3 -> 1\n");
        FAIL() << "conflict not reported";
    } catch (const GrammarError& e) {
        EXPECT_EQ(e.line(), 18);
        EXPECT_NE(
            std::string(e.what()).find("reduce/reduce conflict on token eof between P3 and P4"),
            std::string::npos)
            << e.what();
    }
}

TEST(GrammarCompilerParser, PreferResolvesAConflict) {
    auto g = compile("start N1\nP1 N1 -> N1 1 N1\nP2 N1 -> 3\nprefer P1 on 1\n");
    EXPECT_EQ(reductions(g, "cacac"), (std::vector<int>{2, 2, 1, 2, 1}));  // left associative
    auto right = compile("start N1\nP1 N1 -> N1 1 N1\nP2 N1 -> 3\nprefer shift on 1\n");
    EXPECT_EQ(reductions(right, "cacac"), (std::vector<int>{2, 2, 2, 1, 1}));
}

TEST(GrammarCompilerParser, UndefinedSymbolsAreErrors) {
    EXPECT_THROW(compile("start N1\nP1 N1 -> N2\n"), GrammarError);
    EXPECT_THROW(compile("start N1\nP1 N1 -> 12\n"), GrammarError);
    EXPECT_THROW(compile("start N1\nP2 N1 -> 1\n"), GrammarError);  // numbering starts at P1
}

TEST(GrammarCompilerParser, ActionsByDescendingTokenWithEofLastAndAcceptOnEof) {
    auto g = compile("start N1\nP1 N1 ->\nP2 N1 -> N1 N2\nP3 N2 -> 4\nP4 N2 -> 6\nP5 N2 -> 5\n");
    const auto& row0 = g.parser.rows[0];
    ASSERT_EQ(row0.actions.size(), 4u);
    EXPECT_EQ(row0.actions[0].symbol, 6);
    EXPECT_EQ(row0.actions[1].symbol, 5);
    EXPECT_EQ(row0.actions[2].symbol, 4);
    EXPECT_EQ(row0.actions[3].symbol, -1);
    EXPECT_EQ(row0.actions[3].word, kActionReduce | 1u);
    const auto& afterN1 = g.parser.rows[row0.gotos[0].target];
    EXPECT_EQ(afterN1.actions.back().symbol, -1);
    EXPECT_EQ(afterN1.actions.back().word, kActionAccept);
}

TEST(GrammarCompilerParser, RecoveryFlagsAndMarksReachTheTableBytes) {
    auto g = compile(
        "start N1\nP1 N1 -> 1 N2\nP2 N2 -> 2\nP3 N2 -> 3\nP4 N2 -> N2 2\n"
        "recover after 1 : 3\nrecover all after 1 N2 : 2\n");
    // Row of the state after token 1 (state 2: the goto on N1 was made first).
    std::uint32_t row = tableWord(g.yaccTable, 20 + 4 * 2);
    ASSERT_EQ(tableWord(g.yaccTable, 0), 0x53535943u);  // "CYSS"
    EXPECT_EQ(tableWord(g.yaccTable, 4), 5u);
    EXPECT_EQ(tableWord(g.yaccTable, row), kRowRecovery);
    ASSERT_EQ(tableWord(g.yaccTable, row + 8), 2u);  // actions on 3 and 2
    EXPECT_EQ(tableWord(g.yaccTable, row + 16), 3u);
    EXPECT_NE(tableWord(g.yaccTable, row + 12) & kActionRecoveryMark, 0u);
    EXPECT_EQ(tableWord(g.yaccTable, row + 24), 2u);
    EXPECT_EQ(tableWord(g.yaccTable, row + 20) & kActionRecoveryMark, 0u);
    bool flaggedAll = false;
    for (const auto& r : g.parser.rows)
        flaggedAll |= r.flags == (kRowRecovery | kRowRecoverEveryTerminal);
    EXPECT_TRUE(flaggedAll);

    EXPECT_THROW(compile("start N1\nP1 N1 -> 1\nrecover after 1 : 1\n"),
                 GrammarError);  // 1 is not shifted there
    EXPECT_THROW(compile("start N1\nP1 N1 -> 1\nrecover after 2 : 1\n"),
                 GrammarError);  // no such state
}

TEST(GrammarCompilerParser, LexerTableLayout) {
    auto g = compile("start N1\nP1 N1 -> 1\n");
    const auto& t = g.lexTable;
    EXPECT_EQ(tableWord(t, 0), 1u);
    EXPECT_EQ(tableWord(t, 4), 0x53534C58u);  // "XLSS"
    EXPECT_EQ(tableWord(t, 8), 0u);
    std::uint32_t size = tableWord(t, 36 + 4);
    EXPECT_EQ(36 + size, t.size());
    EXPECT_EQ(tableWord(t, 36 + 44), size);
    EXPECT_EQ(tableWord(t, 36 + 52), 88u);
    std::uint32_t states = tableWord(t, 36 + 40);
    EXPECT_EQ(states, g.lists[0].states.size());
    EXPECT_EQ(tableWord(t, 36 + 48), 88 + 28 * states);
    // State 0: nine letters and the start of input, which sorts last.
    std::uint32_t row0 = tableWord(t, 36 + 88 + 28 * states);
    ASSERT_EQ(tableWord(t, 36 + row0), 10u);
    EXPECT_EQ(tableWord(t, 36 + row0 + 4), static_cast<std::uint32_t>('a'));
    EXPECT_EQ(tableWord(t, 36 + row0 + 4 + 9 * 12), kBofChar);
}

}  // namespace
}  // namespace tessel::grammar
