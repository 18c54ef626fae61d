#include "dtp/page_maker_replace_list.h"

namespace tessel::dtp {

CPageMakerReplaceList::CPageMakerReplaceList(std::string fileName)
    : CTextToRTFReplaceList(std::move(fileName)) {
    lineJoining = false;
}

void CPageMakerReplaceList::convertText(std::string& text) {
    CTextToRTFReplaceList::convertText(text);
    if (macintosh) wrapLiteralCharacterTags(text);
}

std::string CPageMakerReplaceList::literalCharacterTag(std::uint8_t byte) const {
    return decimalCharacterTag(byte);
}

}  // namespace tessel::dtp
