#include "dtp/replace_piece.h"

namespace tessel::dtp {

std::string CReplacePiece::replacementFor(std::string_view) const {
    return replacement_.text;
}

}  // namespace tessel::dtp
