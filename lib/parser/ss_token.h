// A lexeme: token number, text, and the position of its first character.
//
// The text is always followed by two zero bytes. Tokens made by the scanner
// keep their text inline, in the same allocation as the token; the parser's
// "eof" and "%error" tokens own a separate text allocation. Line and offset
// (column) are 1-based, columns counting bytes; the stream offset counts bytes
// from the start of the data the input delivered (after CR LF translation).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <string_view>

#include "parser/ss_block_pool.h"
#include "parser/ss_exception.h"
#include "parser/ss_ref.h"

namespace tessel::parser {

class SSToken final : public SSRef {
  public:
    struct Fields {
        std::int32_t tokenNumber = 0;
        std::string_view text;
        std::int32_t line = 0;
        std::int32_t offset = 0;
        std::uint32_t streamOffset = 0;
        bool singleByte = true;
    };

    // A token with its text copied inline behind the object (count 0); the
    // scanner makes one per lexeme, so this stays inline.
    static SSToken* createInline(const Fields& fields) {
        std::size_t size = inlineBlockSize(fields.text.size());
        void* block = takeKeptBlock(size);
        if (block == nullptr) block = withStorage([&] { return allocatePooledBlock(size); });
        char* text = static_cast<char*>(block) + sizeof(SSToken);
        copyText(text, fields.text);
        return ::new (block) SSToken(fields, text, false);
    }
    // A token whose text lives in an allocation of its own (count 0).
    static SSToken* createOwned(const Fields& fields);

    // Inline-text tokens give their single block back to the pool.
    void destroy() override {
        if (ownsText_) {
            delete this;
            return;
        }
        std::size_t size = inlineBlockSize(length_);
        this->~SSToken();
        releasePooledBlock(this, size);
    }

    std::int32_t tokenNumber() const { return tokenNumber_; }
    void setTokenNumber(std::int32_t number) { tokenNumber_ = number; }
    // 0, or a number that stands for the token in the parser.
    std::int32_t alternateTokenNumber() const { return alternateTokenNumber_; }
    void setAlternateTokenNumber(std::int32_t number) { alternateTokenNumber_ = number; }
    // The number the parser uses: the alternate number when set.
    std::int32_t parserSymbol() const {
        return alternateTokenNumber_ != 0 ? alternateTokenNumber_ : tokenNumber_;
    }

    // Zero-terminated text (two zero bytes follow it).
    const char* text() const { return text_; }
    std::string_view textView() const { return {text_, length_}; }
    std::size_t length() const { return length_; }
    std::int32_t line() const { return line_; }
    std::int32_t offset() const { return offset_; }
    std::uint32_t streamOffset() const { return streamOffset_; }
    bool ownsText() const { return ownsText_; }
    bool isSingleByte() const { return singleByte_; }

  private:
    static constexpr std::size_t kTerminatorBytes = 2;

    // The single block of a token with inline text.
    static std::size_t inlineBlockSize(std::size_t textLength) {
        return sizeof(SSToken) + textLength + kTerminatorBytes;
    }
    // Copies the text and the two zero bytes behind it. Most lexemes are a
    // few bytes long: up to 16 bytes are copied as two overlapping words (or
    // three single bytes), which costs less than a call.
    static void copyText(char* destination, std::string_view text) {
        const char* source = text.data();
        std::size_t size = text.size();
        if (size > 16) {
            std::memcpy(destination, source, size);
        } else if (size >= 8) {
            std::memcpy(destination, source, 8);
            std::memcpy(destination + size - 8, source + size - 8, 8);
        } else if (size >= 4) {
            std::memcpy(destination, source, 4);
            std::memcpy(destination + size - 4, source + size - 4, 4);
        } else if (size != 0) {
            destination[0] = source[0];
            destination[size / 2] = source[size / 2];
            destination[size - 1] = source[size - 1];
        }
        std::memset(destination + size, 0, kTerminatorBytes);
    }
    SSToken(const Fields& fields, char* text, bool ownsText)
        : ownsText_(ownsText),
          singleByte_(fields.singleByte),
          line_(fields.line),
          tokenNumber_(fields.tokenNumber),
          text_(text),
          length_(fields.text.size()),
          offset_(fields.offset),
          streamOffset_(fields.streamOffset) {}
    ~SSToken() override {
        if (ownsText_) delete[] text_;
    }

    bool ownsText_;
    bool singleByte_;
    std::int32_t line_;
    std::int32_t tokenNumber_;
    char* text_;
    std::size_t length_;
    std::int32_t offset_;
    std::uint32_t streamOffset_;
    std::int32_t alternateTokenNumber_ = 0;
};

}  // namespace tessel::parser
