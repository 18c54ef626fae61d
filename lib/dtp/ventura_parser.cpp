#include "dtp/ventura_parser.h"

#include "dtp/grammar_lexer.h"
#include "resources/markup_framework_texts.h"
#include "resources/ventura_texts.h"

namespace tessel::dtp {

using parser::SSRefPtr;
using parser::SSYaccStackItem;

namespace {

using enum VenturaAction;

// Productions 7 and 13 to 22 are numbered alike in both grammars; the codes
// with an argument (8, 9 in version 4; 12, 8 in versions 5 to 7) differ.
constexpr VenturaActionTable kVentura4Actions = {
    None,
    None,
    None,
    None,
    None,
    None,
    None,
    WholeCode,
    CodeWithArgument,
    CodeWithoutArgument,
    None,
    None,
    None,
    ExternalTag,
    InternalTag,
    TableEnd,
    TableBegin,
    None,
    CellCommas,
    CellSeparator,
    None,
    RowTag,
    TableKeyword,
};
constexpr VenturaActionTable kVenturaActions = {
    None,
    None,
    None,
    None,
    None,
    None,
    None,
    WholeCode,
    CodeWithoutArgument,
    None,
    None,
    None,
    CodeWithArgument,
    ExternalTag,
    InternalTag,
    TableEnd,
    TableBegin,
    None,
    CellCommas,
    CellSeparator,
    None,
    RowTag,
    TableKeyword,
};

const VenturaGrammar kVentura4Grammar{resources::kVentura4Grammar, resources::kVentura4LexTable,
                                      resources::kVentura4YaccTable, kVentura4Actions};
const VenturaGrammar kVentura567Grammar{resources::kVenturaGrammar, resources::kVenturaLexTable,
                                        resources::kVenturaYaccTable, kVenturaActions};

}  // namespace

CVenturaMarkupParser::CVenturaMarkupParser(const std::string& sourceFile,
                                           const VenturaGrammar& grammar)
    : CMarkupParser(sourceFile, grammar.lexTable, resources::kLexTableType, grammar.yaccTable,
                    resources::kYaccTableType),
      actions_(grammar.actions) {
    attachLexer(std::make_unique<CGrammarLexer>(grammar.key));
}

void CVenturaMarkupParser::act(VenturaAction action) {
    switch (action) {
        case WholeCode: {
            // Codes nested in this one were marked when they were reduced;
            // the whole code is one run.
            CTextPiece whole = piecesFor(0, 2);
            replacementList().removeEnclosedBy(whole);
            addInternal(whole);
            break;
        }
        case CodeWithArgument:
            markInternal(0, 0);
            markInternal(2, 2);
            break;
        case CodeWithoutArgument:
            markInternal(0, 1);
            break;
        case ExternalTag:
        case TableBegin:
            markExternal(0, 0);
            break;
        case InternalTag:
            markInternal(0, 0);
            break;
        case CellCommas:
            markInternal(1, 1);
            break;
        case TableEnd:
        case CellSeparator:
        case RowTag:
        case TableKeyword:
            markExternal(1, 1);
            break;
        case None:
            break;
    }
}

CTextPiece CVenturaMarkupParser::tokenPiece(std::int32_t index) const {
    if (parser::SSToken* token = elementFromProduction(index)->token()) {
        return CTextPiece::fromLexeme(token->textView(), static_cast<std::uint32_t>(token->line()),
                                      static_cast<std::uint32_t>(token->offset()), sourceFileRef());
    }
    return symbolPiece(index);
}

SSRefPtr<SSYaccStackItem> CVenturaMarkupParser::joinedResult(std::uint32_t length) {
    auto* result = dynamic_cast<CMarkupStackItem*>(elementFromProduction(0));
    if (result == nullptr) return emptyResult();
    // Only the ranges are joined. The text of a joined piece would be that of
    // all its symbols, but every mark takes its text from a token, so it is
    // never read; collecting it would cost time and memory that grow with
    // the square of the nesting depth of codes.
    CTextPiece& joined = result->piece;
    if (!joined.isValid() || joined.isEmpty()) joined = tokenPiece(0);
    for (std::int32_t i = 1; i < static_cast<std::int32_t>(length); ++i) {
        auto* item = dynamic_cast<CMarkupStackItem*>(elementFromProduction(i));
        if (item != nullptr && item->piece.isValid() && !item->piece.isEmpty()) {
            joined.widenBy(item->piece);
        } else {
            joined.widenBy(tokenPiece(i));
        }
    }
    return SSRefPtr<SSYaccStackItem>(result);
}

SSRefPtr<SSYaccStackItem> CVenturaMarkupParser::reduce(std::uint32_t production,
                                                       std::uint32_t length) {
    act(production < actions_.size() ? actions_[production] : None);
    if (length == 0) return emptyResult();
    return joinedResult(length);
}

CVenturaParser::CVenturaParser(const std::string& sourceFile)
    : CVenturaMarkupParser(sourceFile, kVentura567Grammar) {
    replacementList().lineJoining = false;
}

CVentura4Parser::CVentura4Parser(const std::string& sourceFile)
    : CVenturaMarkupParser(sourceFile, kVentura4Grammar) {}

}  // namespace tessel::dtp
