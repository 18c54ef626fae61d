// A text file read by line and column: the replacement lists read their
// source through it up to the start and the end of each piece, and write
// their output through it.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "platform/streams.h"

namespace tessel::dtp {

// A file that could not be opened; the cause and the system's description.
class CFileException : public std::exception {
  public:
    enum Cause { kGeneric, kBadPath, kCannotOpen };

    CFileException(Cause cause, std::string description)
        : cause_(cause), description_(std::move(description)) {}

    Cause cause() const { return cause_; }
    const std::string& description() const { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

  private:
    Cause cause_;
    std::string description_;
};

class CRCFile {
  public:
    enum class Direction { Input, Output };

    // Which bytes end a line of an input file (read in text mode, so a
    // carriage return and line feed arrive as one line feed): a carriage
    // return or a line feed, as the converters' sources have them, or only a
    // line feed, as the parser runtime counts lines (a lone carriage return
    // is then an ordinary byte of its line and reaches the output as it is).
    enum class LineEnds { CarriageReturnOrLineFeed, LineFeed };
    void setLineEnds(LineEnds lineEnds) { lineEnds_ = lineEnds; }

    // Opens for reading (always text mode) or creates the file for writing,
    // making its folder first. Failures are reported to the converter log and
    // thrown as CFileException.
    void open(const std::string& name, Direction direction, bool textMode);
    // Closes; false when buffered output could not be written.
    bool close();

    // Sets `out` to the text from the current position up to (line, column):
    // whole lines with "\n" as their end, then bytes of the target line.
    // False (with a log entry) when the position is behind the current one or
    // beyond the file.
    bool readTo(std::string& out, std::uint32_t line, std::uint32_t column);
    // The same text as a view, valid until the next read: of the input's
    // buffer where the text lies in it on the current line, else of
    // `storage`, read as readTo() reads.
    bool viewTo(std::string_view& text, std::string& storage, std::uint32_t line,
                std::uint32_t column);
    // The text from the current position up to (line, column), when it may
    // lie in the input's buffer: `bytes` are all the bytes the buffer holds
    // from there on, as it holds them (not read, see skipAhead(); nothing
    // reported). On the current line (`lineEnds` 0) the text is the first
    // `size` bytes, not checked for bytes that end a line or need
    // translation, which the caller's own scan finds (holdsLineEnd()); on a
    // later line it ends at `column` of the line after the `lineEnds`-th line
    // end (see lengthToColumn()).
    struct Ahead {
        std::string_view bytes;
        std::uint32_t lineEnds = 0;
        std::size_t size = 0;
    };
    std::optional<Ahead> peekAhead(std::uint32_t line, std::uint32_t column) const;
    // Reads `count` bytes of what peekAhead() returned, which end at (line,
    // column).
    void skipAhead(std::size_t count, std::uint32_t line, std::uint32_t column);
    // The length of the text of `bytes` up to `column` of the line after the
    // `lineEnds`-th line end, when each of those is LF or CR LF and `bytes`
    // hold the text with no other byte that ends a line or needs translation.
    static std::optional<std::size_t> lengthToColumn(std::string_view bytes, std::uint32_t lineEnds,
                                                     std::uint32_t column);
    // True when `text` holds a byte that the reader stops at within a line: a
    // line end or a byte that the text mode translates (CR, LF, Ctrl-Z).
    static bool holdsLineEnd(std::string_view text);
    // Sets `out` to every remaining line, each ended by "\n".
    bool readRest(std::string& out) { return readRest(out, std::string::npos); }
    // The same in steps: whole lines up to at least `limit` bytes (fewer at
    // the end of the file, which `atEnd` then tells).
    bool readRest(std::string& out, std::size_t limit, bool* atEnd = nullptr);

    // Writes to an output file.
    void write(std::string_view text) { output_.write(text); }
    bool writeFailed() const { return output_.failed(); }

    const std::string& fileName() const { return fileName_; }
    std::uint32_t currentLine() const { return line_; }
    std::uint32_t currentColumn() const { return column_; }

  private:
    enum class LineEnd { Reached, EndOfFile, ReadError };

    // The text up to (line, column) when it lies in the input's buffer on
    // the current line: consumed and returned as a view.
    std::optional<std::string_view> takeOnCurrentLine(std::uint32_t line, std::uint32_t column);
    bool readToLine(std::string& out, std::uint32_t line);
    bool readToColumn(std::string& out, std::uint32_t column);
    // Appends the rest of the current line and its end ("\n").
    LineEnd appendLine(std::string& out);
    void consumeLineEnd(int first);
    bool endsLine(int c) const {
        return c == '\n' || (c == '\r' && lineEnds_ == LineEnds::CarriageReturnOrLineFeed);
    }
    bool readError();

    std::string fileName_;
    Direction direction_ = Direction::Input;
    LineEnds lineEnds_ = LineEnds::CarriageReturnOrLineFeed;
    std::uint32_t line_ = 1;
    std::uint32_t column_ = 1;
    platform::InputStream input_;
    platform::OutputStream output_;
};

// Grows a text buffer in the steps that keep long stretches of text between
// pieces from reallocating line by line: at least 49152 bytes, and more
// before its length comes within 200 bytes of the size.
void reserveTextRoom(std::string& text, std::size_t adding);

}  // namespace tessel::dtp
