// Deterministic automaton of one expression list: subset construction over
// the rules' NFA, longest match left to the runtime, and explicit priorities
// deciding between rules that accept the same text.
#pragma once

#include <cstdint>
#include <vector>

#include "grammar.h"

namespace tessel::grammar {

// Accept flags of the lexer table.
constexpr std::uint32_t kAcceptFinal = 0x10;
constexpr std::uint32_t kAcceptIgnore = 0x40;
constexpr std::uint32_t kAcceptPush = 0x20;
constexpr std::uint32_t kAcceptPop = 0x08;
constexpr std::uint32_t kAcceptSwitch = 0x28;
constexpr std::uint32_t kAcceptEndOfLine = 0x80;
constexpr std::uint32_t kAcceptStartOfLine = 0x02;

struct DfaTransition {
    std::uint32_t low;
    std::uint32_t high;
    int target;
};

struct AcceptEntry {
    std::int32_t token = 0;  // 0: the state does not accept
    std::uint32_t list = 0;
    std::uint32_t flags = 0;
    friend bool operator==(const AcceptEntry&, const AcceptEntry&) = default;
};

struct DfaState {
    std::vector<DfaTransition> transitions;  // sorted by low character, disjoint
    AcceptEntry accept;
};

struct ListAutomaton {
    std::vector<DfaState> states;  // state 0 is the start state
};

// Builds the automaton of expression list listIndex of grammar, including the
// start-of-input rule (token -1, ignored). Throws GrammarError for a pattern
// error, a pattern that matches the empty text, or two rules with different
// outcomes that accept the same text at the same priority.
ListAutomaton buildListAutomaton(const Grammar& grammar, int listIndex);

// Outcome of a rule as the accept entry stores it.
AcceptEntry acceptEntryOf(const LexRule& rule, bool startOfLine, bool endOfLine);

}  // namespace tessel::grammar
