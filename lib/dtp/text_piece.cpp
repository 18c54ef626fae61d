#include "dtp/text_piece.h"

#include "dtp/static_file_map.h"
#include "platform/byte_scan.h"

namespace tessel::dtp {

CTextPiece CTextPiece::fromLexeme(std::string_view lexeme, std::uint32_t line, std::uint32_t column,
                                  std::int32_t fileRef) {
    CTextPiece piece = rangeOfLexeme(lexeme, line, column, fileRef);
    piece.text = lexeme;
    return piece;
}

CTextPiece CTextPiece::rangeOfLexeme(std::string_view lexeme, std::uint32_t line,
                                     std::uint32_t column, std::int32_t fileRef) {
    CTextPiece piece(std::string(), line, column, line, column, fileRef);
    const char* data = lexeme.data();
    const std::size_t size = lexeme.size();
    // Lexemes of running text are long and mostly hold no line break: the
    // breaks are found a chunk of bytes at a time.
    auto nextBreak = [&](std::size_t from) {
        return from + platform::findLineEnd(data + from, size - from, false);
    };
    std::size_t afterLastBreak = 0;
    bool hasBreak = false;
    for (std::size_t i = nextBreak(0); i < size; i = nextBreak(afterLastBreak)) {
        if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') ++i;
        ++piece.endLine;
        afterLastBreak = i + 1;
        hasBreak = true;
    }
    piece.endColumn = hasBreak ? static_cast<std::uint32_t>(1 + lexeme.size() - afterLastBreak)
                               : static_cast<std::uint32_t>(column + lexeme.size());
    return piece;
}

bool CTextPiece::isValid() const {
    return hasValidPositions() && namesSourceFile(fileRef);
}

void CTextPiece::widenBy(const CTextPiece& other) {
    bool thisValid = isValid();
    widenBy(other, thisValid, thisValid && other.isValid());
}

void CTextPiece::join(const CTextPiece& other) {
    if (!isValid()) {
        *this = other;
        return;
    }
    if (other.startsBefore(*this)) {
        startLine = other.startLine;
        startColumn = other.startColumn;
        text = other.text + text;
    }
    if (other.endsAfter(*this)) {
        endLine = other.endLine;
        endColumn = other.endColumn;
        text += other.text;
    }
}

bool operator==(const CTextPiece& a, const CTextPiece& b) {
    return a.text == b.text && a.startLine == b.startLine && a.startColumn == b.startColumn &&
           a.endLine == b.endLine && a.endColumn == b.endColumn && a.fileRef == b.fileRef;
}

}  // namespace tessel::dtp
