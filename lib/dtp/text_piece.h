// A range of a source file, located by line and column, with the text it was
// made from. Lines and columns are 1-based, columns count bytes, and the range
// is half-open; 0 means "not set".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessel::dtp {

class CTextPiece {
  public:
    CTextPiece() = default;
    CTextPiece(std::string text, std::uint32_t startLine, std::uint32_t startColumn,
               std::uint32_t endLine, std::uint32_t endColumn, std::int32_t fileRef)
        : text(std::move(text)),
          startLine(startLine),
          startColumn(startColumn),
          endLine(endLine),
          endColumn(endColumn),
          fileRef(fileRef) {}

    // The range a lexeme starting at (line, column) covers: line breaks in it
    // ("\r\n" once, a lone "\r" or "\n" once each) move the end down.
    static CTextPiece fromLexeme(std::string_view lexeme, std::uint32_t line, std::uint32_t column,
                                 std::int32_t fileRef);
    // The same range with empty text, for a piece that only widens another.
    static CTextPiece rangeOfLexeme(std::string_view lexeme, std::uint32_t line,
                                    std::uint32_t column, std::int32_t fileRef);

    // A position as one number that orders positions as (line, column) does:
    // the checks below run for every symbol of every reduction.
    static constexpr std::uint64_t positionKey(std::uint32_t line, std::uint32_t column) {
        return (static_cast<std::uint64_t>(line) << 32) | column;
    }
    std::uint64_t startKey() const { return positionKey(startLine, startColumn); }
    std::uint64_t endKey() const { return positionKey(endLine, endColumn); }

    // All positions set, the end not before the start, and a known file.
    bool isValid() const;
    // The positions part of isValid(), for callers that know the file.
    bool hasValidPositions() const {
        if (startLine == 0 || startColumn == 0 || endLine == 0 || endColumn == 0) return false;
        return endKey() >= startKey();
    }
    // Start and end at the same position.
    bool isEmpty() const { return startLine == endLine && startColumn == endColumn; }

    // Widens this piece by `other` (the piece for production symbols a to b):
    // an invalid piece takes the other's range and file; otherwise a valid
    // other extends start and end. The text stays this piece's.
    void widenBy(const CTextPiece& other);
    // The same with the validity of both pieces already known.
    void widenBy(const CTextPiece& other, bool thisValid, bool otherValid) {
        if (!thisValid) return takeRange(other);
        if (!otherValid) return;
        if (other.startsBefore(*this)) {
            startLine = other.startLine;
            startColumn = other.startColumn;
        }
        if (other.endsAfter(*this)) {
            endLine = other.endLine;
            endColumn = other.endColumn;
        }
    }
    // Takes the range and file of `other`; the text stays this piece's (a
    // parser sets a range on the piece of nearly every reduction, where
    // assigning a whole piece would move a string too).
    void takeRange(const CTextPiece& other) {
        startLine = other.startLine;
        startColumn = other.startColumn;
        endLine = other.endLine;
        endColumn = other.endColumn;
        fileRef = other.fileRef;
    }
    // Joins `other` into this piece: its range is covered and its text put
    // before or after this text, by position.
    void join(const CTextPiece& other);

    // Both from the same file and sharing a position (two empty pieces at
    // the same place overlap; a range ending where another starts does not).
    bool overlaps(const CTextPiece& other) const {
        if (fileRef != other.fileRef) return false;
        bool thisEmpty = isEmpty();
        if (thisEmpty != other.isEmpty()) return false;
        if (thisEmpty) return startKey() == other.startKey();
        // Half-open ranges share a position when each starts before the other ends.
        return startKey() < other.endKey() && other.startKey() < endKey();
    }
    // The order of pieces in a replacement list.
    bool comesBefore(const CTextPiece& other) const {
        bool sameStart = startKey() == other.startKey();
        if (isEmpty() && other.isEmpty() && sameStart) return true;
        if (overlaps(other)) return false;
        if (startsBefore(other)) return true;
        return sameStart && isEmpty();
    }

    bool startsBefore(const CTextPiece& other) const { return startKey() < other.startKey(); }
    bool endsAfter(const CTextPiece& other) const { return other.endKey() < endKey(); }

    std::string text;
    std::uint32_t startLine = 0;
    std::uint32_t startColumn = 0;
    std::uint32_t endLine = 0;
    std::uint32_t endColumn = 0;
    std::int32_t fileRef = 0;
};

bool operator==(const CTextPiece& a, const CTextPiece& b);

}  // namespace tessel::dtp
