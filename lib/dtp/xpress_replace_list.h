// The replacement list of the QuarkXPress converter: like PageMaker's, no
// line joining and protected literal character tags for Macintosh bytes
// without a Windows counterpart.
#pragma once

#include "dtp/text_to_rtf_replace_list.h"

namespace tessel::dtp {

class CXPressReplaceList : public CTextToRTFReplaceList {
  public:
    explicit CXPressReplaceList(std::string fileName = {});

    void appendConverted(std::string& out, std::string_view text) override;
    std::string literalCharacterTag(std::uint8_t byte) const override;
};

}  // namespace tessel::dtp
