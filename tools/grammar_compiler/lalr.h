// LALR(1) parser construction: LR(0) item sets, lookaheads propagated over
// the LR(0) automaton to a fixed point, then one action row per state.
#pragma once

#include <cstdint>
#include <vector>

#include "grammar.h"

namespace tessel::grammar {

constexpr std::uint32_t kActionShift = 0x40000000u;
constexpr std::uint32_t kActionReduce = 0x20000000u;
constexpr std::uint32_t kActionAccept = 0x10000000u;
constexpr std::uint32_t kActionRecoveryMark = 0x80000000u;
constexpr std::uint32_t kActionOperandMask = 0x07FFFFFFu;

constexpr std::uint32_t kRowRecovery = 1;
constexpr std::uint32_t kRowRecoverEveryTerminal = 4;

struct ParserAction {
    int symbol;
    std::uint32_t word;
};

struct ParserGoto {
    int nonterminal;
    int target;
};

struct ParserRow {
    std::uint32_t flags = 0;
    // Row order, which is also the order of the expected tokens in syntax
    // error messages: terminals by descending token number, "eof" last.
    std::vector<ParserAction> actions;
    std::vector<ParserGoto> gotos;  // by ascending nonterminal
};

struct ParserTable {
    std::vector<ParserRow> rows;  // row 0 is the start state
};

// Throws GrammarError for undefined symbols, unresolved conflicts and
// recovery statements that name no state or mark a terminal the state does
// not shift.
ParserTable buildParserTable(const Grammar& grammar);

}  // namespace tessel::grammar
