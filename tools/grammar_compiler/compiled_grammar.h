// A grammar file turned into its two table images, plus the generated C++
// source that carries all of them into the library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "grammar.h"
#include "lalr.h"
#include "lexer_automaton.h"

namespace tessel::grammar {

struct CompiledGrammar {
    Grammar grammar;
    std::vector<ListAutomaton> lists;
    ParserTable parser;
    std::vector<std::uint8_t> lexTable;
    std::vector<std::uint8_t> yaccTable;
};

// Compiles grammar text; throws GrammarError (line in the grammar file).
CompiledGrammar compileGrammar(const std::string& text, const std::string& file);

// The C++ source defining tessel::resources::grammarResources() and
// tessel::resources::grammarCatalog() for the given grammars.
std::string generateResourceSource(const std::vector<CompiledGrammar>& grammars);

}  // namespace tessel::grammar
