// A source range and what replaces it in the output.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dtp/text_piece.h"

namespace tessel::dtp {

class CReplacePiece {
  public:
    CReplacePiece(CTextPiece source, CTextPiece replacement)
        : source_(std::move(source)), replacement_(std::move(replacement)) {}
    virtual ~CReplacePiece() = default;

    const CTextPiece& source() const { return source_; }
    const CTextPiece& replacementPiece() const { return replacement_; }

    // What the output gets for `sourceText`, the text the range covers in the
    // file: here the replacement piece's text.
    virtual std::string replacementFor(std::string_view sourceText) const;
    // Appends replacementFor(sourceText) to `out`.
    virtual void appendReplacement(std::string& out, std::string_view sourceText) const;

    // A piece whose replacement equals its own text changes nothing.
    bool changesNothing() const { return source_.text == replacement_.text; }

  private:
    CTextPiece source_;
    CTextPiece replacement_;
};

}  // namespace tessel::dtp
