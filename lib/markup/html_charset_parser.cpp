#include "markup/html_charset_parser.h"

#include "dtp/converter_log.h"
#include "dtp/error_ref.h"
#include "dtp/grammar_lexer.h"
#include "platform/format.h"
#include "resources/grammar_catalog.h"
#include "resources/html_charset_texts.h"
#include "resources/log_texts.h"
#include "resources/markup_framework_texts.h"

namespace tessel::markup {

namespace {

using parser::SSRefPtr;
using parser::SSYaccStackItem;

// The item of a tag's first part: whether the tag is a HEAD start tag, so
// that its ">" gives the insertion point however many attributes follow.
class CHtmlCharsetStackItem : public dtp::CMarkupStackItem {
  public:
    using CMarkupStackItem::CMarkupStackItem;
    bool headStartTag = false;

  protected:
    ~CHtmlCharsetStackItem() override = default;
};

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

CHtmlCharsetParser::CHtmlCharsetParser(const std::string& htmlFile)
    : CMarkupParser(htmlFile, resources::kHtmlCharsetLexTable, resources::kLexTableType,
                    resources::kHtmlCharsetYaccTable, resources::kYaccTableType) {
    attachLexer(std::make_unique<dtp::CGrammarLexer>(resources::kHtmlCharsetGrammar));
    // The base made the bottom item before this class's items existed; with
    // it remade, every item of the stack is a CHtmlCharsetStackItem.
    remakeBottomItem();
}

SSYaccStackItem* CHtmlCharsetParser::newStackItem() {
    // The spares come from this parser's stack, whose items are all made here.
    if (dtp::CMarkupStackItem* spare = reusedItem()) {
        auto* item = static_cast<CHtmlCharsetStackItem*>(spare);
        item->headStartTag = false;
        return item;
    }
    return parser::withStorage([&] { return new CHtmlCharsetStackItem(sourceFileRef()); });
}

SSYaccStackItem* CHtmlCharsetParser::shiftItem(parser::SSToken& token) {
    if (token.tokenNumber() == kCharsetValueToken) recordCharsetValue(token);
    return newStackItem();
}

// Rare next to the other tokens: kept out of the shift path.
[[gnu::noinline]] void CHtmlCharsetParser::recordCharsetValue(const parser::SSToken& token) {
    charsetValues_.push_back(
        dtp::CTextPiece::fromLexeme(token.textView(), static_cast<std::uint32_t>(token.line()),
                                    static_cast<std::uint32_t>(token.offset()), sourceFileRef()));
}

void CHtmlCharsetParser::recordHeadEnd() {
    const auto& tag = static_cast<const CHtmlCharsetStackItem&>(*elementFromProduction(0));
    if (!tag.headStartTag || insertionPoint_) return;
    dtp::CTextPiece closing = symbolPiece(1);
    insertionPoint_ = dtp::CTextPiece({}, closing.endLine, closing.endColumn, closing.endLine,
                                      closing.endColumn, sourceFileRef());
}

void CHtmlCharsetParser::warnOfLineBreak() {
    dtp::CTextPiece text = symbolPiece(1);
    if (!hasLineBreak(text.text)) return;
    dtp::reportMessage(platform::fillPlaceholders(
                           resources::kLineBreakInString,
                           {resources::kSeparatorLine, text.text, resources::kSeparatorLine}),
                       dtp::kMessageWarning, {{dtp::kReferenceSource, &text}});
}

SSRefPtr<SSYaccStackItem> CHtmlCharsetParser::reduce(std::uint32_t production, std::uint32_t) {
    switch (production) {
        case kHeadStart: {
            SSRefPtr<SSYaccStackItem> item(newStackItem());
            static_cast<CHtmlCharsetStackItem&>(*item).headStartTag = true;
            return item;
        }
        case kTagWord:
        case kTagQuotedAttribute:
        case kTagWordAttribute:
        case kTagQuoted:
            // A tag built up part by part keeps its first item, and with it
            // the HEAD mark.
            return SSRefPtr<SSYaccStackItem>(elementFromProduction(0));
        case kTagEnd:
            recordHeadEnd();
            break;
        case kQuotedText:
            warnOfLineBreak();
            break;
        default:
            break;
    }
    // The class is final: no virtual call for the fresh item.
    return SSRefPtr<SSYaccStackItem>(newStackItem());
}

}  // namespace tessel::markup
