// A source range and what replaces it in the output.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "dtp/text_piece.h"

namespace tessel::dtp {

class CReplacePiece {
  public:
    CReplacePiece(CTextPiece source, CTextPiece replacement)
        : source_(std::move(source)),
          replacement_(std::make_unique<CTextPiece>(std::move(replacement))) {}
    virtual ~CReplacePiece() = default;
    CReplacePiece(const CReplacePiece&) = delete;
    CReplacePiece& operator=(const CReplacePiece&) = delete;

    const CTextPiece& source() const { return source_; }
    // The piece that stands for the replacement in log references: the one
    // given, else the source range with empty text.
    CTextPiece replacementPiece() const;

    // What the output gets for `sourceText`, the text the range covers in the
    // file: here the replacement piece's text.
    virtual std::string replacementFor(std::string_view sourceText) const;
    // Appends replacementFor(sourceText) to `out`.
    virtual void appendReplacement(std::string& out, std::string_view sourceText) const;
    // The same for a source text that lies on one line in the source's
    // buffer, `readable` bytes of which may be read from its start; false,
    // with `out` possibly changed, when the text holds a line end
    // (CRCFile::holdsLineEnd()).
    virtual bool appendLineReplacement(std::string& out, std::string_view sourceText,
                                       std::size_t readable) const;

    // A piece whose replacement equals its own text changes nothing.
    bool changesNothing() const { return source_.text == replacementText(); }

  protected:
    // A piece whose output is worked out from its source text alone (see
    // appendReplacement()): it keeps no replacement piece, as a converter
    // holds one such piece per tag of a file.
    explicit CReplacePiece(CTextPiece&& source) : source_(std::move(source)) {}

    std::string_view replacementText() const {
        return replacement_ ? std::string_view(replacement_->text) : std::string_view();
    }

  private:
    CTextPiece source_;
    std::unique_ptr<CTextPiece> replacement_;  // null: the source range, empty text
};

}  // namespace tessel::dtp
