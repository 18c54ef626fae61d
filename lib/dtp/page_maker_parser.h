// The PageMaker converter's parser: the PageMaker tables, token names, and
// the reduce actions that mark the header, tags, escaped characters and the
// parts of index entries as protected pieces.
#pragma once

#include <string>

#include "dtp/markup_parser.h"
#include "dtp/page_maker_replace_list.h"

namespace tessel::dtp {

class CPageMakerParser : public CMarkupParser {
  public:
    // Productions of the PageMaker grammar that record pieces.
    enum Production : std::uint32_t {
        kHeaderAndBody = 2,
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

    parser::SSRefPtr<parser::SSYaccStackItem> reduce(std::uint32_t production,
                                                     std::uint32_t length) override;

    CPageMakerReplaceList& pageMakerList() { return *pageMakerList_; }

  private:
    CPageMakerReplaceList* pageMakerList_;
};

}  // namespace tessel::dtp
