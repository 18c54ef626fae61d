#include "dtp/error_ref.h"

namespace tessel::dtp {

namespace {

// The kind words and locations that the converter log shows (none).
std::string kindWord(std::int16_t) {
    return {};
}
std::string location(const CTextPiece&) {
    return {};
}

}  // namespace

std::string CErrorRef::description() const {
    return kindWord(kind_) + " " + location(piece_);
}

}  // namespace tessel::dtp
