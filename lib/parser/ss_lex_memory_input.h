// Scanner input over bytes held in memory (a copy is kept). The bytes are
// delivered as given: no line-end translation. Used by tools, tests and
// callers that already hold the text.
#pragma once

#include <string_view>

#include "parser/ss_lex_input.h"

namespace tessel::parser {

class SSLexMemoryInput : public SSLexInput {
  public:
    explicit SSLexMemoryInput(std::string_view data, Kind kind = Multibyte);

  protected:
    std::size_t refill() override { return 0; }
};

}  // namespace tessel::parser
