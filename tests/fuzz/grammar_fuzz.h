// Shared body of the grammar fuzz targets: lexes and parses arbitrary bytes
// with one of the library's grammars. The runtime's exceptions are expected
// outcomes; crashes, hangs and out-of-bounds reads are not.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "parser/grammar_trace.h"
#include "parser/ss_exception.h"
#include "parser/ss_lex_memory_input.h"

namespace tessel::fuzz {

inline int lexAndParse(std::string_view key, const std::uint8_t* data, std::size_t size) {
    static const resources::GrammarDescription& grammar = *resources::findGrammar(key);
    static parser::GrammarTables tables = parser::GrammarTables::load(grammar);
    std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        parser::SSLexMemoryInput input(text);
        parser::GrammarLex lex(grammar, input, tables.lex);
        parser::TracingParser parser(lex, tables.yacc, {});
        parser.parse();
    } catch (const parser::SSException&) {
    }
    return 0;
}

}  // namespace tessel::fuzz
