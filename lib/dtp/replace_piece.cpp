#include "dtp/replace_piece.h"

#include "dtp/rc_file.h"

namespace tessel::dtp {

CTextPiece CReplacePiece::replacementPiece() const {
    if (replacement_) return *replacement_;
    return CTextPiece(std::string(), source_.startLine, source_.startColumn, source_.endLine,
                      source_.endColumn, source_.fileRef);
}

std::string CReplacePiece::replacementFor(std::string_view) const {
    return std::string(replacementText());
}

void CReplacePiece::appendReplacement(std::string& out, std::string_view sourceText) const {
    out += replacementFor(sourceText);
}

bool CReplacePiece::appendLineReplacement(std::string& out, std::string_view sourceText,
                                          std::size_t) const {
    if (CRCFile::holdsLineEnd(sourceText)) return false;
    appendReplacement(out, sourceText);
    return true;
}

}  // namespace tessel::dtp
