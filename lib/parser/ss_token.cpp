#include "parser/ss_token.h"

#include <cstring>
#include <new>

#include "parser/ss_exception.h"

namespace tessel::parser {

namespace {

constexpr std::size_t kTerminatorBytes = 2;

void copyText(char* destination, std::string_view text) {
    if (!text.empty()) std::memcpy(destination, text.data(), text.size());
    std::memset(destination + text.size(), 0, kTerminatorBytes);
}

}  // namespace

SSToken::SSToken(const Fields& fields, char* text, bool ownsText)
    : ownsText_(ownsText),
      singleByte_(fields.singleByte),
      line_(fields.line),
      tokenNumber_(fields.tokenNumber),
      text_(text),
      length_(fields.text.size()),
      offset_(fields.offset),
      streamOffset_(fields.streamOffset) {}

SSToken::~SSToken() {
    if (ownsText_) delete[] text_;
}

SSToken* SSToken::createInline(const Fields& fields) {
    return withStorage([&] {
        void* block = ::operator new(sizeof(SSToken) + fields.text.size() + kTerminatorBytes);
        char* text = static_cast<char*>(block) + sizeof(SSToken);
        copyText(text, fields.text);
        return new (block) SSToken(fields, text, false);
    });
}

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

void SSToken::destroy() {
    if (ownsText_) {
        delete this;
        return;
    }
    this->~SSToken();
    ::operator delete(static_cast<void*>(this));
}

}  // namespace tessel::parser
