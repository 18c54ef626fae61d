// The replacement list of the PageMaker converter: no line joining, and
// Macintosh bytes without a Windows counterpart kept as protected literal
// character tags.
#pragma once

#include "dtp/text_to_rtf_replace_list.h"

namespace tessel::dtp {

class CPageMakerReplaceList : public CTextToRTFReplaceList {
  public:
    explicit CPageMakerReplaceList(std::string fileName = {});

    void appendConverted(std::string& out, std::string_view text) override;
    std::string literalCharacterTag(std::uint8_t byte) const override;
};

}  // namespace tessel::dtp
