// The RTF reader of the back-conversion jobs: reads an RTF document byte by
// byte and hands on its visible body text one paragraph at a time. Font and
// colour tables, style sheet, document information, headers, footers,
// footnotes, pictures, objects, destinations marked "*" that it does not know,
// and hidden text are dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frame/rtf_byte_source.h"

namespace tessel::frame {

// Receives the body text.
class RtfParagraphSink {
  public:
    virtual ~RtfParagraphSink() = default;
    // `line` holds a paragraph's text (the reader empties it afterwards).
    // `lineEnd` is false for text after the last paragraph mark, which ends
    // the document without a line end. Returns 0 or a failure code that ends
    // the reading.
    virtual int paragraph(std::string& line, bool lineEnd) = 0;
};

class RtfReader {
  public:
    // A control word has at most this many letters; longer words are read to
    // their end and treated as unknown (no word of the table is that long).
    static constexpr std::size_t kMaxKeywordLetters = 29;
    // A parameter has at most this many digits; longer ones are read to their
    // end and their value saturates at the limits of a 32-bit number.
    static constexpr std::size_t kMaxParameterDigits = 19;
    // Deeper nesting than this ends the reading with -405, so that a file of
    // nothing but "{" cannot take unbounded memory.
    static constexpr std::size_t kMaxGroupDepth = 10000;
    // The line buffer starts with, and grows in steps of, this many bytes.
    static constexpr std::size_t kLineBufferStep = 4096;

    RtfReader(RtfByteSource& source, RtfParagraphSink& sink);

    // Reads the whole document; 0 or a failure code (-401 to -405, or the
    // sink's code). Text read before a failure has been handed on.
    int read();

    // Nesting depth reached at the point the reading stopped.
    std::size_t depth() const { return stack_.size(); }

  private:
    enum class State : std::uint8_t { Normal, Binary, Hex };
    enum class Destination : std::uint8_t { Body = 0, Skipped = 1, Footnote = 2 };

    struct Group {
        bool hidden;
        std::int16_t otherProperties;
        Destination destination;
        State state;
    };

    int next();
    int peek();
    void unget() { --pos_; }
    bool refill();
    template <typename Accept, typename Take>
    void takeWhile(Accept accept, Take take);

    int push();
    int pop();
    int controlWord();
    int applyKeyword(std::string_view word, bool hasParameter, std::int32_t parameter);
    int hexDigit(int c);
    int character(int byte);
    int endOfDocument();
    void takePlainRun(bool keep);
    void appendToLine(const char* bytes, std::size_t n);

    RtfByteSource& source_;
    RtfParagraphSink& sink_;
    std::vector<Group> stack_;
    State state_ = State::Normal;
    Destination destination_ = Destination::Body;
    bool hidden_ = false;
    std::int16_t otherProperties_ = 0;
    bool skipUnknown_ = false;
    std::int64_t binaryLeft_ = 0;
    int hexHigh_ = -1;
    std::string line_;

    static constexpr std::size_t kInputBlock = 65536;
    std::vector<char> input_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
};

}  // namespace tessel::frame
