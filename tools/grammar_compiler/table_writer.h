// Byte images of the lexer table (resource type "LEXTABLE") and of the parser
// table (resource type "YACCTABLE"), unsigned 32-bit little-endian words.
#pragma once

#include <cstdint>
#include <vector>

#include "lalr.h"
#include "lexer_automaton.h"

namespace tessel::grammar {

// Header (36 bytes), then one block per expression list: an 88-byte header,
// the 28-byte accept entries, the transition-row offsets, the rows (count,
// then low/high/next triples sorted by low character). No keyword tables.
std::vector<std::uint8_t> writeLexTable(const std::vector<ListAutomaton>& lists);

// Header (20 bytes) with one row offset per state, the production table
// (right-side length, left side) and the rows (flags, goto count, action
// count, action entries, goto entries). No lookahead lists.
std::vector<std::uint8_t> writeYaccTable(const Grammar& grammar, const ParserTable& table);

}  // namespace tessel::grammar
