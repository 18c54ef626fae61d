#include "dtp/page_maker_replace_list.h"

namespace tessel::dtp {

CPageMakerReplaceList::CPageMakerReplaceList(std::string fileName)
    : CTextToRTFReplaceList(std::move(fileName)) {
    lineJoining = false;
}

void CPageMakerReplaceList::appendConverted(std::string& out, std::string_view text) {
    std::size_t from = out.size();
    CTextToRTFReplaceList::appendConverted(out, text);
    if (macintosh) wrapLiteralCharacterTags(out, from);
}

std::string CPageMakerReplaceList::literalCharacterTag(std::uint8_t byte) const {
    return decimalCharacterTag(byte);
}

}  // namespace tessel::dtp
