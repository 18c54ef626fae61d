// A reference from a log entry to a piece of a source file.
#pragma once

#include <cstdint>
#include <string>

#include "dtp/text_piece.h"

namespace tessel::dtp {

// Reference kinds: 0 to 3 name what the piece is; kNoReference marks an
// unused reference slot.
inline constexpr std::int16_t kReferenceSource = 0;
inline constexpr std::int16_t kReferenceReplacement = 1;
inline constexpr std::int16_t kNoReference = 5;

class CErrorRef {
  public:
    CErrorRef(std::int16_t kind, CTextPiece piece) : kind_(kind), piece_(std::move(piece)) {}

    std::int16_t kind() const { return kind_; }
    const CTextPiece& piece() const { return piece_; }

    // The text of its line in the log: the kind word, a blank and the
    // location. This system's logs name neither, so only the blank remains.
    std::string description() const;

  private:
    std::int16_t kind_;
    CTextPiece piece_;
};

}  // namespace tessel::dtp
