#include "parser/ss_lex_memory_input.h"

#include "parser/ss_exception.h"

namespace tessel::parser {

SSLexMemoryInput::SSLexMemoryInput(std::string_view data, Kind kind) : SSLexInput(kind, 0) {
    withStorage([&] { buffer().assign(data.begin(), data.end()); });
    setDataEnd(data.size());
}

}  // namespace tessel::parser
