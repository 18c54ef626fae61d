// Lexer side of the grammar compiler: patterns to automata, longest match,
// priorities, anchors, list changes, and errors reported with their line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiled_grammar.h"
#include "grammar_error.h"
#include "support/table_interpreter.h"

namespace tessel::grammar {
namespace {

using testing::scanWithTable;

// A grammar around the given lexer lists, with a parser that accepts any
// sequence of token 1 (so that it compiles).
std::string withParser(const std::string& lists) {
    return "grammar t\nlexer-table TLex\nparser-table TYacc\n" + lists +
           "\nstart N1\nP1 N1 ->\nP2 N1 -> N1 1\n";
}

std::vector<std::string> scanned(const CompiledGrammar& g, const std::string& text) {
    std::vector<std::string> out;
    for (const auto& t : scanWithTable(g.lexTable, text)) {
        out.push_back(std::to_string(t.token) + (t.ignored ? "i" : "") + ":" + t.text);
    }
    return out;
}

using Tokens = std::vector<std::string>;

int errorLine(const std::string& text) {
    try {
        compileGrammar(text, "t.grammar");
    } catch (const GrammarError& e) {
        return e.line();
    }
    return 0;
}

TEST(GrammarCompilerLexer, LongestMatchRescansAfterTheShorterToken) {
    auto g = compileGrammar(
        withParser("list 0\n1 : <\n2 : < \\* (?i:\"INDEX\")\n3 ignore : [^<]\n"), "t");
    EXPECT_EQ(scanned(g, "<*INDE x<*index"),
              (Tokens{"1:<", "3i:*", "3i:I", "3i:N", "3i:D", "3i:E", "3i: ", "3i:x", "2:<*index"}));
}

TEST(GrammarCompilerLexer, PriorityDecidesBetweenRulesMatchingTheSameText) {
    auto g = compileGrammar(
        withParser("list 0\n1 : [a-z]+\n2 priority 1 : \"if\"\n3 ignore : \" \"\n"), "t");
    EXPECT_EQ(scanned(g, "if iff i"), (Tokens{"2:if", "3i: ", "1:iff", "3i: ", "1:i"}));
}

TEST(GrammarCompilerLexer, EqualPrioritiesWithDifferentTokensAreAnError) {
    std::string text = withParser("list 0\n1 : [a-z]+\n2 : \"if\"\n");
    EXPECT_EQ(errorLine(text), 6);
    try {
        compileGrammar(text, "t");
    } catch (const GrammarError& e) {
        EXPECT_NE(std::string(e.what()).find("\"if\""), std::string::npos) << e.what();
    }
}

TEST(GrammarCompilerLexer, PatternErrorsNameTheirLine) {
    EXPECT_EQ(errorLine(withParser("list 0\n1 : [a-z\n")), 5);
    EXPECT_EQ(errorLine(withParser("list 0\n1 : (ab\n")), 5);
    EXPECT_EQ(errorLine(withParser("list 0\n1 : {nothing}\n")), 5);
    EXPECT_EQ(errorLine(withParser("list 0\n1 : a*\n")), 5);  // matches the empty text
    EXPECT_EQ(errorLine(withParser("list 0\n1 : a+ ^\n")), 5);
    EXPECT_EQ(errorLine(withParser("list 0\n1 push 4 : a\n")), 5);
}

TEST(GrammarCompilerLexer, SetsComplementsAndCaseInsensitiveLetters) {
    auto g = compileGrammar(
        withParser("list 0\n1 : (?i:\"ab\" [c-d])\n2 : [^a-zA-Z\\n]+\n3 ignore : \\n\n"), "t");
    EXPECT_EQ(scanned(g, "aBC\n\x81\x82 !\nAbd"),
              (Tokens{"1:aBC", "3i:\n", "2:\x81\x82 !", "3i:\n", "1:Abd"}));
    EXPECT_THROW(scanned(g, "ab"), std::runtime_error);
}

TEST(GrammarCompilerLexer, EndOfLineAnchorGivesTheLineFeedBack) {
    auto g = compileGrammar(withParser("list 0\n1 : [a-z]+\n2 : [a-z]+ $\n3 ignore : \\n\n"), "t");
    auto tokens = testing::scanWithTable(g.lexTable, "ab\ncd");
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[0].token, 2);
    EXPECT_EQ(tokens[0].text, "ab");
    EXPECT_EQ(tokens[1].token, 3);
    EXPECT_EQ(tokens[1].column, 3);
    EXPECT_EQ(tokens[2].token, 1);
    EXPECT_EQ(tokens[2].line, 2);
    // The accept entry of token 2 carries the end-of-line flag.
    bool seen = false;
    for (const auto& state : g.lists[0].states) {
        if (state.accept.token == 2) {
            EXPECT_EQ(state.accept.flags, kAcceptFinal | kAcceptEndOfLine);
            seen = true;
        }
    }
    EXPECT_TRUE(seen);
}

TEST(GrammarCompilerLexer, StartOfLineAnchorMatchesAfterALineFeedOrAtTheStart) {
    auto g =
        compileGrammar(withParser("list 0\n1 : ^ \"#\"\n2 : \"#\"\n3 ignore : [a-z\\n]\n"), "t");
    auto tokens = testing::scanWithTable(g.lexTable, "#a#\n#");
    std::vector<std::pair<int, std::string>> got;
    for (const auto& t : tokens) {
        if (!t.ignored) got.push_back({t.token, t.text});
    }
    EXPECT_EQ(got, (std::vector<std::pair<int, std::string>>{{1, "#"}, {2, "#"}, {1, "#"}}));
    EXPECT_EQ(tokens.back().line, 2);
    EXPECT_EQ(tokens.back().column, 1);
}

TEST(GrammarCompilerLexer, ListChangesAndTheStartOfInputRule) {
    auto g = compileGrammar(withParser("list 0\n1 push 1 : <\n2 ignore : [^<]\n"
                                       "list 1\n3 pop : >\n4 switch 2 : \\\"\n5 : [a-z]+\n"
                                       "list 2\n6 pop : \\\"\n7 : [^\"]+\n"),
                            "t");
    EXPECT_EQ(scanned(g, "x<ab\"q r\">y"),
              (Tokens{"2i:x", "1:<", "5:ab", "4:\"", "7:q r", "6:\"", "2i:>", "2i:y"}));
    for (const auto& list : g.lists) {
        const auto& start = list.states[0];
        ASSERT_FALSE(start.transitions.empty());
        const auto& bof = start.transitions.back();
        EXPECT_EQ(bof.low, kBofChar);
        EXPECT_EQ(list.states[bof.target].accept,
                  (AcceptEntry{-1, 0, kAcceptFinal | kAcceptIgnore}));
    }
    EXPECT_EQ(g.lists[1].states[0].transitions.size(), 4u);
}

TEST(GrammarCompilerLexer, DefinitionsNestAndAreBoundedInDepth) {
    auto g = compileGrammar(
        withParser(
            "define d [0-9]\ndefine n {d}+ (\\. {d}+)?\nlist 0\n1 : {n}\n2 ignore : \" \"\n"),
        "t");
    EXPECT_EQ(scanned(g, "12 3.5"), (Tokens{"1:12", "2i: ", "1:3.5"}));
    EXPECT_EQ(errorLine(withParser("define a {a}\nlist 0\n1 : {a}\n")), 6);
}

TEST(GrammarCompilerLexer, EquivalentStatesAreMerged) {
    auto g = compileGrammar(withParser("list 0\n1 : \"ab\" | \"cb\"\n2 : \"cd\"\n"), "t");
    // Start, after a, after c, after ab|cb, after cd, after the start of input.
    EXPECT_EQ(g.lists[0].states.size(), 6u);
    auto same = compileGrammar(withParser("list 0\n1 : \"ab\" | \"cb\" | \"db\"\n"), "t");
    EXPECT_EQ(same.lists[0].states.size(), 4u);
    EXPECT_EQ(scanned(same, "abcbdb"), (Tokens{"1:ab", "1:cb", "1:db"}));
}

}  // namespace
}  // namespace tessel::grammar
