#include "dtp/grammar_lexer.h"

#include "parser/ss_exception.h"

namespace tessel::dtp {

CGrammarLexer::CGrammarLexer(std::string_view grammarKey)
    : grammar_(resources::findGrammar(grammarKey)) {
    if (grammar_ == nullptr) {
        throw parser::SSException(parser::SSError::LexResourceNotFound, {grammarKey});
    }
}

std::string_view CGrammarLexer::tokenName(std::int32_t tokenNumber) const {
    if (auto name = resources::grammarTokenName(*grammar_, tokenNumber)) return *name;
    return SSLex::tokenName(tokenNumber);
}

}  // namespace tessel::dtp
