#include "dtp/xpress_replace_list.h"

namespace tessel::dtp {

CXPressReplaceList::CXPressReplaceList(std::string fileName)
    : CTextToRTFReplaceList(std::move(fileName)) {
    lineJoining = false;
}

void CXPressReplaceList::convertText(std::string& text) {
    CTextToRTFReplaceList::convertText(text);
    if (macintosh) wrapLiteralCharacterTags(text);
}

std::string CXPressReplaceList::literalCharacterTag(std::uint8_t byte) const {
    return decimalCharacterTag(byte);
}

}  // namespace tessel::dtp
