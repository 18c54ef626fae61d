#include "dtp/xpress_replace_list.h"

namespace tessel::dtp {

CXPressReplaceList::CXPressReplaceList(std::string fileName)
    : CTextToRTFReplaceList(std::move(fileName)) {
    lineJoining = false;
}

void CXPressReplaceList::appendConverted(std::string& out, std::string_view text) {
    std::size_t from = out.size();
    CTextToRTFReplaceList::appendConverted(out, text);
    if (macintosh) wrapLiteralCharacterTags(out, from);
}

std::string CXPressReplaceList::literalCharacterTag(std::uint8_t byte) const {
    return decimalCharacterTag(byte);
}

}  // namespace tessel::dtp
