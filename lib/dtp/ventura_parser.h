// The Ventura converters' parsers: versions 5 to 7 (CVenturaParser) and
// version 4 (CVentura4Parser). Both share one set of reduce actions, which
// the two grammars reach under different production numbers: paragraph tags
// and table structure become external pieces, codes internal pieces.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "dtp/markup_parser.h"

namespace tessel::dtp {

// What a reduction of a Ventura grammar marks.
enum class VenturaAction : std::uint8_t {
    None,
    WholeCode,            // "<", tag content, ">": one internal piece
    CodeWithArgument,     // opener, argument, ">": opener and ">" internal
    CodeWithoutArgument,  // opener, ">": one internal piece
    ExternalTag,          // a paragraph tag and the like
    InternalTag,          // "<<", ">>", character codes
    TableEnd,             // table body, "@Z_TBL_END = "
    TableBegin,           // "@Z_TBL_BEG = " and the rest of its paragraph
    CellCommas,           // table body, ",,": internal
    CellSeparator,        // table body, ","
    RowTag,               // table body, "tag in table"
    TableKeyword,         // table body, "external tag in table"
};

// The action of each production of one Ventura grammar.
using VenturaActionTable = std::array<VenturaAction, 23>;

// One piece an action marks: the symbols `first` to `last` of the
// right-hand side (0-based), as an external or an internal piece.
struct VenturaMark {
    std::int32_t first;
    std::int32_t last;
    bool external;
};

// The pieces `action` marks. Every position they name holds a terminal in
// both grammars, so a mark takes its range from tokens and a reduction's
// result needs no range of its own (the tests check this against the
// grammars).
std::span<const VenturaMark> venturaMarks(VenturaAction action);

struct VenturaGrammar {
    std::string_view key;  // grammar catalog key
    std::string_view lexTable;
    std::string_view yaccTable;
    const VenturaActionTable& actions;
};

extern const VenturaGrammar kVentura4Grammar;
extern const VenturaGrammar kVentura567Grammar;

class CVenturaMarkupParser : public CMarkupParser {
  public:
    parser::SSRefPtr<parser::SSYaccStackItem> reduce(std::uint32_t production,
                                                     std::uint32_t length) override;

  protected:
    // SSException when a table is missing or damaged, or the file is missing
    // or empty.
    CVenturaMarkupParser(const std::string& sourceFile, const VenturaGrammar& grammar);

  private:
    void act(VenturaAction action);

    const VenturaActionTable& actions_;
};

// Ventura 5 to 7: every line break of the text stays a paragraph break.
class CVenturaParser : public CVenturaMarkupParser {
  public:
    explicit CVenturaParser(const std::string& sourceFile);
};

// Ventura 4: single line breaks between running words are joined.
class CVentura4Parser : public CVenturaMarkupParser {
  public:
    explicit CVentura4Parser(const std::string& sourceFile);
};

}  // namespace tessel::dtp
