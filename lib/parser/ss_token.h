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
#include <string_view>

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

    // A token with its text copied inline behind the object (count 0).
    static SSToken* createInline(const Fields& fields);
    // A token whose text lives in an allocation of its own (count 0).
    static SSToken* createOwned(const Fields& fields);

    void destroy() override;

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
    SSToken(const Fields& fields, char* text, bool ownsText);
    ~SSToken() override;

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
