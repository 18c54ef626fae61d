// In-memory form of a grammar file: the lexer's expression lists with their
// rules, the token display names, the numbered productions, the start symbol
// and the recovery states.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "pattern.h"

namespace tessel::grammar {

// Nonterminal Nk is numbered kNonterminalBase + k (N1 = 0x4001); 0 is the left
// side of the added start production 0. Terminals are the token numbers.
constexpr int kNonterminalBase = 0x4000;
constexpr int kEofSymbol = -1;
constexpr int kBofToken = -1;

inline bool isNonterminal(int symbol) {
    return symbol > kNonterminalBase;
}

enum class ListChange { None, Push, Pop, Switch };

struct LexRule {
    int line = 0;
    std::int32_t token = 0;
    bool ignore = false;
    ListChange change = ListChange::None;
    int targetList = 0;  // for Push and Switch
    int priority = 0;    // the higher priority wins where two rules match the same text
    std::string pattern;
};

struct ExpressionList {
    int line = 0;
    std::vector<LexRule> rules;
};

struct Production {
    int line = 0;
    int left = 0;
    std::vector<int> right;
};

struct RecoveryState {
    int line = 0;
    std::vector<int> path;   // symbols shifted from some state to enter the recovery state
    bool fromStart = false;  // the path leads from the start state only
    std::vector<int> marks;
    bool everyTerminal = false;  // row flag 4
};

// Explicit resolution of a parse conflict on a terminal: production 0 means
// shifting wins, any other number means reducing by that production wins.
struct ConflictPreference {
    int line = 0;
    int terminal = 0;
    int production = 0;
};

struct Grammar {
    std::string file;
    std::string key;
    std::string lexResource;
    std::string yaccResource;
    std::map<int, std::string> tokenNames;
    PatternDefinitions definitions;
    std::vector<ExpressionList> lists;
    int start = 0;
    int startLine = 0;
    std::vector<Production> productions;  // [0] is the added start production
    std::vector<RecoveryState> recoveries;
    std::vector<ConflictPreference> preferences;
};

// Reads a grammar file's text; file is used in messages only. Throws
// GrammarError with the offending line.
Grammar readGrammar(const std::string& text, const std::string& file);

std::string symbolName(int symbol);

}  // namespace tessel::grammar
