// Runs one of the library's grammars over an input without semantic actions:
// the token stream (ignored tokens included on request) and the reductions and
// syntax errors of a parse. Serves the tool's grammar diagnostics, the fuzz
// targets and the benchmarks.
//
// Usage:
//   const auto* grammar = tessel::resources::findGrammar("pagemaker");
//   GrammarTables tables = GrammarTables::load(*grammar);
//   SSLexFileInput input("file.pm");
//   GrammarLex lex(*grammar, input, tables.lex);
//   TracingParser parser(lex, tables.yacc, [](const ParseEvent& e) { ... });
//   parser.parse();   // SSException when the parse is cut short
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "parser/ss_lex.h"
#include "parser/ss_lex_table_set.h"
#include "parser/ss_yacc.h"
#include "parser/ss_yacc_table_set.h"
#include "resources/grammar_catalog.h"

namespace tessel::parser {

// Both tables of a grammar, loaded from the library's resources.
struct GrammarTables {
    SSLexTableSet lex;
    SSYaccTableSet yacc;
    static GrammarTables load(const resources::GrammarDescription& grammar);
};

// A lexer that names its tokens as the grammar does and can hand out ignored
// tokens as well.
class GrammarLex : public SSLex {
  public:
    GrammarLex(const resources::GrammarDescription& grammar, SSLexInput& input,
               const SSLexTableSet& tables);

    std::string_view tokenName(std::int32_t tokenNumber) const override;

    // When set, nextToken() also returns the tokens the grammar ignores
    // (except the start-of-input token); lastTokenIgnored() tells them apart.
    void setKeepIgnored(bool keep) { keepIgnored_ = keep; }
    bool lastTokenIgnored() const { return lastIgnored_; }

  protected:
    SSRefPtr<SSToken> discardToken(SSLexInput& input, std::int32_t tokenNumber,
                                   const SSLexMatchEnd& end) override;
    SSRefPtr<SSToken> completeToken(SSLexInput& input, std::int32_t tokenNumber,
                                    const SSLexMatchEnd& end) override;

  private:
    const resources::GrammarDescription& grammar_;
    bool keepIgnored_ = false;
    bool lastIgnored_ = false;
};

struct ParseEvent {
    enum class Kind { Reduction, SyntaxError, RecoveryFailed };
    Kind kind;
    std::uint32_t production = 0;  // Reduction
    std::int32_t line = 0;         // SyntaxError, RecoveryFailed: the lookahead token
    std::int32_t column = 0;
    std::string message;  // SyntaxError, RecoveryFailed: "Unexpected text: ..."
};

// "Expected A, B, or C" from the symbols of a parser row in row order, the
// "%error" symbol skipped; empty for no symbols.
std::string expectedTokensText(const std::vector<std::int32_t>& symbols, const SSLex& lex);

// A parser whose reductions only report their production numbers. Syntax
// errors are reported, then the runtime's recovery runs.
class TracingParser : public SSYacc {
  public:
    using Sink = std::function<void(const ParseEvent&)>;
    // The sink may be empty (nothing reported; reductions are still counted).
    TracingParser(SSLex& lex, const SSYaccTableSet& table, Sink sink);

    std::uint64_t reductions() const { return reductions_; }
    std::uint64_t syntaxErrors() const { return syntaxErrors_; }

    SSRefPtr<SSYaccStackItem> reduce(std::uint32_t production, std::uint32_t length) override;
    int syntaxError(std::uint32_t state, SSToken& lookahead) override;

  private:
    Sink sink_;
    std::uint64_t reductions_ = 0;
    std::uint64_t syntaxErrors_ = 0;
};

}  // namespace tessel::parser
