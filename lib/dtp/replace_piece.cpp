#include "dtp/replace_piece.h"

namespace tessel::dtp {

std::string CReplacePiece::replacementFor(std::string_view) const {
    return replacement_.text;
}

void CReplacePiece::appendReplacement(std::string& out, std::string_view sourceText) const {
    out += replacementFor(sourceText);
}

}  // namespace tessel::dtp
