// The lexer of a converter parser: the runtime's lexer with the display
// names that the converter's grammar gives its tokens, for the "Expected ..."
// part of parse-error messages.
#pragma once

#include <string_view>

#include "parser/ss_lex.h"
#include "resources/grammar_catalog.h"

namespace tessel::dtp {

class CGrammarLexer : public parser::SSLex {
  public:
    // `grammarKey` names a grammar of the catalog ("pagemaker", "quark",
    // "ventura", "ventura4"); SSLex0108e when there is none.
    explicit CGrammarLexer(std::string_view grammarKey);

    // The grammar's name for the token, else "SSLexTokenNotFound".
    std::string_view tokenName(std::int32_t tokenNumber) const override;

  private:
    const resources::GrammarDescription* grammar_;
};

}  // namespace tessel::dtp
