#include "parser/ss_token.h"

#include <cstring>
#include <new>

#include "parser/ss_exception.h"

namespace tessel::parser {

SSToken* SSToken::createOwned(const Fields& fields) {
    return withStorage([&] {
        auto* text = new char[fields.text.size() + kTerminatorBytes];
        copyText(text, fields.text);
        try {
            return new SSToken(fields, text, true);
        } catch (...) {
            delete[] text;
            throw;
        }
    });
}

}  // namespace tessel::parser
