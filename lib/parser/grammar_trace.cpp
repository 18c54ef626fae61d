#include "parser/grammar_trace.h"

#include "parser/ss_exception.h"

namespace tessel::parser {
namespace {

constexpr std::int32_t kStartOfInputToken = -1;
constexpr std::int32_t kErrorSymbol = -2;

}  // namespace

GrammarTables GrammarTables::load(const resources::GrammarDescription& grammar) {
    return {SSLexTableSet::fromResource(grammar.lexTable),
            SSYaccTableSet::fromResource(grammar.yaccTable)};
}

GrammarLex::GrammarLex(const resources::GrammarDescription& grammar, SSLexInput& input,
                       const SSLexTableSet& tables)
    : SSLex(input, tables), grammar_(grammar) {}

std::string_view GrammarLex::tokenName(std::int32_t tokenNumber) const {
    if (auto name = resources::grammarTokenName(grammar_, tokenNumber)) return *name;
    return SSLex::tokenName(tokenNumber);
}

SSRefPtr<SSToken> GrammarLex::discardToken(SSLexInput& input, std::int32_t tokenNumber,
                                           const SSLexMatchEnd& end) {
    if (!keepIgnored_ || tokenNumber == kStartOfInputToken) {
        return SSLex::discardToken(input, tokenNumber, end);
    }
    SSRefPtr<SSToken> token = SSLex::completeToken(input, tokenNumber, end);
    lastIgnored_ = true;
    return token;
}

SSRefPtr<SSToken> GrammarLex::completeToken(SSLexInput& input, std::int32_t tokenNumber,
                                            const SSLexMatchEnd& end) {
    lastIgnored_ = false;
    return SSLex::completeToken(input, tokenNumber, end);
}

std::string expectedTokensText(const std::vector<std::int32_t>& symbols, const SSLex& lex) {
    std::string text;
    bool errorSkipped = false;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        if (symbols[i] == kErrorSymbol) {
            errorSkipped = true;
            continue;
        }
        if (i == 0 || (i == 1 && errorSkipped)) {
            text = "Expected ";
        } else {
            text += (i + 1 == symbols.size()) ? ", or " : ", ";
        }
        text += lex.tokenName(symbols[i]);
    }
    return text;
}

TracingParser::TracingParser(SSLex& lex, const SSYaccTableSet& table, Sink sink)
    : sink_(std::move(sink)) {
    setTable(table);
    setLex(lex);
}

SSRefPtr<SSYaccStackItem> TracingParser::reduce(std::uint32_t production, std::uint32_t length) {
    ++reductions_;
    if (sink_) sink_({ParseEvent::Kind::Reduction, production, 0, 0, {}});
    // The first right-side item stands for the left side, as in the
    // converters; only an empty right side needs a new item.
    return SSRefPtr<SSYaccStackItem>(length > 0 ? elementFromProduction(0) : newStackItem());
}

int TracingParser::syntaxError(std::uint32_t state, SSToken& lookahead) {
    ++syntaxErrors_;
    std::string message = "Unexpected text: \"" + std::string(lookahead.textView()) + "\". " +
                          expectedTokensText(expectedTokens(state), *lex());
    // The lookahead may be released while recovering: keep its position.
    const std::int32_t line = lookahead.line();
    const std::int32_t column = lookahead.offset();
    try {
        int result = recover();
        if (sink_) sink_({ParseEvent::Kind::SyntaxError, 0, line, column, message});
        return result;
    } catch (const SSException&) {
        if (sink_) sink_({ParseEvent::Kind::RecoveryFailed, 0, line, column, message});
        throw;
    }
}

}  // namespace tessel::parser
