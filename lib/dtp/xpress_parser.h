// The QuarkXPress converter's parser: the QuarkXPress tables and token names,
// and the reduce actions that mark the header and style-sheet and paragraph
// tags as external pieces, character and literal character tags as internal
// pieces, and drop a "<$>" that follows exactly 254 characters of text.
#pragma once

#include <string>

#include "dtp/markup_parser.h"
#include "dtp/xpress_replace_list.h"

namespace tessel::dtp {

class CXPressParser : public CMarkupParser {
  public:
    // Productions of the QuarkXPress grammar that record pieces or count text.
    enum Production : std::uint32_t {
        kHeader = 5,                    // version tag, encoding tag
        kIndexedHeader = 6,             // index, version tag, encoding tag
        kFirstSpecialTag = 7,           // "@ or <* tag"
        kFirstOtherTag = 8,             // "other tag"
        kFirstText = 9,                 // "text"
        kFirstLiteral = 10,             // "litteral character tag"
        kOtherTag = 11,                 // line part, "other tag"
        kSpecialTag = 12,               // line part, "@ or <* tag"
        kLiteral = 13,                  // line part, "litteral character tag"
        kText = 14,                     // line part, "text"
        kDollar = 15,                   // line part, "<$>"
        kOtherTagAtLineEnd = 17,        // line part, "other tag at end of line"
        kSpecialTagAtLineEnd = 18,      // line part, "@ or <* tag last on a line"
        kLiteralAtLineEnd = 19,         // line part, "litteral character tag last on line"
        kDollarAtLineEnd = 20,          // line part, "<$> at end of line"
        kLoneOtherTagAtLineEnd = 22,    // "other tag at end of line"
        kLoneSpecialTagAtLineEnd = 23,  // "@ or <* tag last on a line"
        kLoneLiteralAtLineEnd = 24,     // "litteral character tag last on line"
        kLoneDollarAtLineEnd = 25,      // "<$> at end of line"
    };

    // A "<$>" after exactly this many characters of text on its line is
    // dropped.
    static constexpr std::int32_t kDroppedDollarRunLength = 254;

    // Builds the parser on `sourceFile` (SSException when a table is missing
    // or damaged, or the file is missing or empty).
    explicit CXPressParser(const std::string& sourceFile);

    parser::SSRefPtr<parser::SSYaccStackItem> reduce(std::uint32_t production,
                                                     std::uint32_t length) override;

    CXPressReplaceList& xpressList() { return *xpressList_; }

  private:
    // The run length carried by the i-th right-hand-side symbol.
    std::int32_t runLengthOf(std::int32_t index) const;
    // The length of the i-th symbol's token text.
    std::int64_t textLengthOf(std::int32_t index) const;
    // Marks the header's encoding tag at `index` and sets the Macintosh flag
    // when it is "<e0>".
    void takeEncoding(std::int32_t index);
    // A "<$>": dropped after exactly 254 characters, else internal.
    void markDollar(std::int32_t runLength);

    CXPressReplaceList* xpressList_;
};

}  // namespace tessel::dtp
