// Character input of the scanner.
//
// An input holds a byte buffer and delivers characters one at a time:
// first the BOF pseudo-character, then the data. It tracks where the current
// lexeme starts (the mark), the next unread byte (the position), and the line
// and column of both, so that tokens carry exact positions:
//   - columns count bytes from 1; a double-byte character takes two columns;
//   - lines count LF characters from 1.
// Kinds: 0 single bytes, 1 16-bit units, 2 multibyte text whose lead bytes
// follow the active ANSI code page (the only kind the converters use).
// Derived classes supply the data through refill().
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tessel::parser {

// The pseudo-character delivered once before the data.
inline constexpr std::uint32_t kSSLexBof = 0xFFFFFFFFu;

// Where a match ended: buffer position, relative line count and column
// after its last character.
struct SSLexMatchEnd {
    std::size_t position = 0;
    std::int64_t relativeLines = 0;
    std::int32_t column = 1;
};

class SSLexInput {
  public:
    enum Kind : std::uint32_t { SingleByte = 0, Unicode16 = 1, Multibyte = 2 };

    virtual ~SSLexInput() = default;
    SSLexInput(const SSLexInput&) = delete;
    SSLexInput& operator=(const SSLexInput&) = delete;

    // Reads the next character into currentChar(); false at end of input.
    bool nextChar() {
        // Fast path: a single-byte character of multibyte text in the buffer.
        if (kind_ == Multibyte && !bofPending_ && position_ < end_ &&
            !leadBytes_[buffer_[position_]]) {
            current_ = buffer_[position_++];
            countCharacter();
            return true;
        }
        return nextCharSlow();
    }
    std::uint32_t currentChar() const { return current_; }

    // Direct reading for a scanner's inner loop: while singleByteRun() is
    // true, the bytes of buffer()[position() .. dataEnd()) that are not lead
    // bytes (isLeadByte) are single-byte characters that need no refill. A
    // scanner that reads them itself reports where it stopped with
    // advanceSingleBytes(); they then count as read by nextChar() (but
    // currentChar() is only set by nextChar()).
    bool singleByteRun() const { return kind_ == Multibyte && !bofPending_; }
    const std::uint8_t* data() const { return buffer_.data(); }
    std::size_t dataEnd() const { return end_; }
    const bool* leadByteTable() const { return leadBytes_.data(); }
    // False when the code page has no lead bytes at all.
    bool hasLeadBytes() const { return hasLeadBytes_; }
    // `after` is the triple behind the last byte read (it must lie at or after the
    // position, on a single-byte character boundary, within the data).
    void advanceSingleBytes(const SSLexMatchEnd& after) {
        position_ = after.position;
        relativeLines_ = after.relativeLines;
        column_ = after.column;
    }

    // The triple a match would end at if it ended after the last character read.
    SSLexMatchEnd matchEnd() const { return {position_, relativeLines_, column_}; }
    // Accepts the lexeme from the mark to `end`: the mark and the position
    // move to its end and the line base absorbs its line ends.
    void consume(const SSLexMatchEnd& end) {
        position_ = mark_ = end.position < end_ ? end.position : end_;
        lineBase_ += end.relativeLines;
        relativeLines_ = 0;
        startColumn_ = column_ = end.column;
    }
    // Drops every character read since the mark (nothing matched them).
    void dropRead();
    // Moves the mark past a leading LF of the lexeme (start-of-line anchor);
    // false when the lexeme does not start with one.
    bool skipLeadingNewline(SSLexMatchEnd& end);
    // Gives the last character of a match back (end-of-line anchor).
    void giveBack(SSLexMatchEnd& end) const;

    // Bytes the buffer content moved down at the last compaction; reading
    // clears it, so recorded positions are adjusted exactly once.
    std::size_t takeShiftCount() {
        if (shiftCount_ == 0) return 0;
        std::size_t shift = shiftCount_;
        shiftCount_ = 0;
        return shift;
    }

    Kind kind() const { return kind_; }
    bool bofPending() const { return bofPending_; }
    bool atEndOfInput() const { return endOfInput_; }
    // Line of the character at the mark. Before anything is consumed the
    // line base is still 0 while the mark is on line 1.
    std::int32_t markLine() const {
        return lineBase_ == 0 ? 1 : static_cast<std::int32_t>(lineBase_);
    }
    std::int64_t lineBase() const { return lineBase_; }
    std::int32_t startColumn() const { return startColumn_; }
    std::int32_t column() const { return column_; }
    // Line of the next unread character.
    std::int64_t currentLine() const { return lineBase_ + relativeLines_; }
    std::size_t mark() const { return mark_; }
    std::size_t position() const { return position_; }
    // Byte position of the mark counted from the start of the data.
    std::uint64_t markStreamOffset() const { return discarded_ + mark_; }
    // The bytes from the mark to `end` (end clamped to the valid data).
    std::string_view bytes(std::size_t from, std::size_t to) const {
        to = to < end_ ? to : end_;
        from = from < to ? from : to;
        return {reinterpret_cast<const char*>(buffer_.data()) + from, to - from};
    }
    // Code page whose lead bytes the multibyte kind follows.
    int codePage() const { return codePage_; }

  protected:
    // `increment` is how far the buffer may grow when a lexeme fills it.
    SSLexInput(Kind kind, std::size_t increment);

    // Adds data behind end(); returns the bytes added (0: no more data).
    virtual std::size_t refill() = 0;

    // For refill implementations.
    std::vector<std::uint8_t>& buffer() { return buffer_; }
    void setDataEnd(std::size_t end) { end_ = end; }
    std::size_t increment() const { return increment_; }
    // Moves the bytes from the mark down to the front of the buffer; false
    // when the mark is already at the front of a non-empty buffer.
    bool compact();

  private:
    bool nextCharSlow();
    void countCharacter() {
        if (current_ == 10) {
            ++relativeLines_;
            column_ = 1;
        } else {
            ++column_;
        }
    }
    bool ensureBytes(std::size_t count);
    std::uint32_t readMultibyte();
    std::uint32_t readUnit16();
    void stepOverByteOrderMark();

    Kind kind_;
    int codePage_;
    // Lead-byte test of codePage_, taken once per input.
    std::array<bool, 256> leadBytes_{};
    bool hasLeadBytes_ = false;
    bool bofPending_ = true;
    std::size_t increment_;
    std::int64_t lineBase_ = 0;
    std::vector<std::uint8_t> buffer_;
    std::uint64_t discarded_ = 0;
    std::size_t shiftCount_ = 0;
    std::size_t mark_ = 0;
    std::size_t position_ = 0;
    std::size_t end_ = 0;
    std::int32_t startColumn_ = 1;
    std::uint32_t current_ = 0;
    bool endOfInput_ = false;
    std::int64_t relativeLines_ = 1;
    std::int32_t column_ = 1;
    bool littleEndian_ = true;
};

}  // namespace tessel::parser
