// The PageMaker converter's parser: the PageMaker tables, token names, and
// the actions that mark the header, tags, escaped characters and the parts
// of index entries as protected pieces.
#pragma once

#include <string>

#include "dtp/markup_parser.h"
#include "dtp/page_maker_replace_list.h"

namespace tessel::dtp {

class CPageMakerParser : public CMarkupParser {
  public:
    // The "<PMTags ...>" header token.
    static constexpr std::int32_t kHeaderToken = 2;

    // Productions of the PageMaker grammar that record pieces.
    enum Production : std::uint32_t {
        kEscapedCharacter = 7,
        kInternalTag = 8,
        kExternalTag = 12,
        kIndexWithoutText = 21,
        kIndexFirstQuote = 22,
        kIndexBetweenTexts = 23,
        kIndexEnd = 24,
    };

    // Builds the parser on `sourceFile` (SSException when a table is missing
    // or damaged, or the file is missing or empty).
    explicit CPageMakerParser(const std::string& sourceFile);

    // Marks the header as an external piece when it is shifted.
    parser::SSYaccStackItem* shiftItem(parser::SSToken& token) override;
    parser::SSRefPtr<parser::SSYaccStackItem> reduce(std::uint32_t production,
                                                     std::uint32_t length) override;

    CPageMakerReplaceList& pageMakerList() { return *pageMakerList_; }

  private:
    CPageMakerReplaceList* pageMakerList_;
};

}  // namespace tessel::dtp
