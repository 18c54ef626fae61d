// A range of a source file, located by line and column, with the text it was
// made from. Lines and columns are 1-based, columns count bytes, and the range
// is half-open; 0 means "not set".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessel::dtp {

// The positions and file of a piece without its text. The parsers work out
// the range of nearly every reduction; only the pieces they record need text.
struct alignas(8) CTextRange {
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

    // Widens this range by `other` (the range for production symbols a to
    // b): an invalid range takes the other's range and file; otherwise a
    // valid other extends start and end.
    void widenBy(const CTextRange& other);
    // The same with the validity of both ranges already known.
    void widenBy(const CTextRange& other, bool thisValid, bool otherValid) {
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
    // Takes the range and file of `other`; on a piece its text stays.
    void takeRange(const CTextRange& other) { *this = other; }

    // Both from the same file and sharing a position (two empty ranges at
    // the same place overlap; a range ending where another starts does not).
    bool overlaps(const CTextRange& other) const {
        if (fileRef != other.fileRef) return false;
        bool thisEmpty = isEmpty();
        if (thisEmpty != other.isEmpty()) return false;
        if (thisEmpty) return startKey() == other.startKey();
        // Half-open ranges share a position when each starts before the other ends.
        return startKey() < other.endKey() && other.startKey() < endKey();
    }
    // The order of pieces in a replacement list.
    bool comesBefore(const CTextRange& other) const {
        bool sameStart = startKey() == other.startKey();
        if (isEmpty() && other.isEmpty() && sameStart) return true;
        if (overlaps(other)) return false;
        if (startsBefore(other)) return true;
        return sameStart && isEmpty();
    }

    bool startsBefore(const CTextRange& other) const { return startKey() < other.startKey(); }
    bool endsAfter(const CTextRange& other) const { return other.endKey() < endKey(); }

    friend bool operator==(const CTextRange&, const CTextRange&) = default;

    std::uint32_t startLine = 0;
    std::uint32_t startColumn = 0;
    std::uint32_t endLine = 0;
    std::uint32_t endColumn = 0;
    std::int32_t fileRef = 0;
};

class CTextPiece : public CTextRange {
  public:
    CTextPiece() = default;
    CTextPiece(std::string text, std::uint32_t startLine, std::uint32_t startColumn,
               std::uint32_t endLine, std::uint32_t endColumn, std::int32_t fileRef)
        : CTextRange{startLine, startColumn, endLine, endColumn, fileRef}, text(std::move(text)) {}
    CTextPiece(const CTextRange& range, std::string_view text) : CTextRange(range), text(text) {}

    // The range a lexeme starting at (line, column) covers: line breaks in it
    // ("\r\n" once, a lone "\r" or "\n" once each) move the end down.
    static CTextPiece fromLexeme(std::string_view lexeme, std::uint32_t line, std::uint32_t column,
                                 std::int32_t fileRef);
    // The same range without the text, for a range that only widens another.
    static CTextRange rangeOfLexeme(std::string_view lexeme, std::uint32_t line,
                                    std::uint32_t column, std::int32_t fileRef);

    // Joins `other` into this piece: its range is covered and its text put
    // before or after this text, by position.
    void join(const CTextPiece& other);

    std::string text;
};

bool operator==(const CTextPiece& a, const CTextPiece& b);

}  // namespace tessel::dtp
