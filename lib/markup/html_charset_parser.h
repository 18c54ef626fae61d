// The parser of the charset step: the HTML charset grammar over a finished
// HTML file, recording where a META line may be inserted (just after the
// first HEAD start tag), every "charset=" value of a META tag with its
// position, and warning of quoted strings that run over a line break.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dtp/markup_parser.h"
#include "dtp/text_piece.h"

namespace tessel::markup {

class CHtmlCharsetParser final : public dtp::CMarkupParser {
  public:
    // Productions with an action.
    enum Production : std::uint32_t {
        kHeadStart = 7,            // N6 -> < HEAD
        kTagWord = 10,             // N6 -> N6 WORD
        kTagQuotedAttribute = 11,  // N6 -> N6 attribute= quoted
        kTagWordAttribute = 12,    // N6 -> N6 attribute= WORD
        kTagQuoted = 13,           // N6 -> N6 quoted
        kTagEnd = 14,              // N4 -> N6 >
        kQuotedText = 20,          // N8 -> start-quote text end-quote
    };

    // Builds the parser on `htmlFile` (SSException when a table is missing
    // or damaged, or the file is missing or empty). Its messages go to the
    // converter log that is current when it runs.
    explicit CHtmlCharsetParser(const std::string& htmlFile);

    // The CODE_PAGE token: the value after "charset=" in a META tag.
    static constexpr std::int32_t kCharsetValueToken = 71;

    parser::SSYaccStackItem* newStackItem() override;
    // Records a charset value as it is shifted, so that a value the parse
    // stops at (the end of a cut-off file) is known too.
    parser::SSYaccStackItem* shiftItem(parser::SSToken& token) override;
    parser::SSRefPtr<parser::SSYaccStackItem> reduce(std::uint32_t production,
                                                     std::uint32_t length) override;

    // Just after the ">" of the first HEAD start tag, as an empty piece.
    const std::optional<dtp::CTextPiece>& insertionPoint() const { return insertionPoint_; }
    // The "charset=" values of META tags in file order: text and range.
    const std::vector<dtp::CTextPiece>& charsetValues() const { return charsetValues_; }

  private:
    void recordCharsetValue(const parser::SSToken& token);
    void recordHeadEnd();
    void warnOfLineBreak();

    std::optional<dtp::CTextPiece> insertionPoint_;
    std::vector<dtp::CTextPiece> charsetValues_;
};

}  // namespace tessel::markup
