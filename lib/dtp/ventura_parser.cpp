#include "dtp/ventura_parser.h"

#include "dtp/grammar_lexer.h"
#include "resources/markup_framework_texts.h"
#include "resources/ventura_texts.h"

namespace tessel::dtp {

using parser::SSRefPtr;
using parser::SSYaccStackItem;

namespace {

using enum VenturaAction;

struct NumberedAction {
    std::uint32_t production;
    VenturaAction action;
};

// The productions numbered alike in both grammars.
constexpr NumberedAction kSharedActions[] = {
    {7, WholeCode},   {13, ExternalTag},   {14, InternalTag}, {15, TableEnd},     {16, TableBegin},
    {18, CellCommas}, {19, CellSeparator}, {21, RowTag},      {22, TableKeyword},
};

// The action table of a grammar whose codes with an argument are reduced by
// the productions `withArgument` and `withoutArgument`.
constexpr VenturaActionTable actionTable(std::uint32_t withArgument,
                                         std::uint32_t withoutArgument) {
    VenturaActionTable table{};
    for (NumberedAction entry : kSharedActions) table[entry.production] = entry.action;
    table[withArgument] = CodeWithArgument;
    table[withoutArgument] = CodeWithoutArgument;
    return table;
}

constexpr VenturaActionTable kVentura4Actions = actionTable(8, 9);
constexpr VenturaActionTable kVenturaActions = actionTable(12, 8);

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

SSRefPtr<SSYaccStackItem> CVenturaMarkupParser::joinedResult(std::uint32_t length) {
    CMarkupStackItem* result = &markupItem(0);
    // Only the ranges are joined. The text of a joined piece would be that of
    // all its symbols, but every mark takes its text from a token, so it is
    // never read; collecting it would cost time and memory that grow with
    // the square of the nesting depth of codes.
    CTextPiece& joined = result->piece;
    // Every mark of the Ventura grammars starts at a token not yet reduced.
    result->mayStartPiece = false;
    if (!isValidPiece(joined) || joined.isEmpty()) {
        if (parser::SSToken* token = result->token()) {
            // The range of the item's own token; its text stays in the token.
            joined.text.clear();
            joined.takeRange(CTextPiece::rangeOfLexeme(
                token->textView(), static_cast<std::uint32_t>(token->line()),
                static_cast<std::uint32_t>(token->offset()), sourceFileRef()));
            result->pieceTextInToken = true;
        } else {
            joined = symbolPiece(0);
        }
    }
    for (std::int32_t i = 1; i < static_cast<std::int32_t>(length); ++i) {
        const CMarkupStackItem& item = markupItem(i);
        bool joinedValid = isValidPiece(joined);
        if (isValidPiece(item.piece) && !item.piece.isEmpty()) {
            joined.widenBy(item.piece, joinedValid, true);
        } else if (parser::SSToken* token = item.token()) {
            CTextPiece range = CTextPiece::rangeOfLexeme(
                token->textView(), static_cast<std::uint32_t>(token->line()),
                static_cast<std::uint32_t>(token->offset()), sourceFileRef());
            joined.widenBy(range, joinedValid, joinedValid && isValidPiece(range));
        } else {
            widenBySymbol(joined, i);
        }
    }
    return SSRefPtr<SSYaccStackItem>(result);
}

SSRefPtr<SSYaccStackItem> CVenturaMarkupParser::reduce(std::uint32_t production,
                                                       std::uint32_t length) {
    act(production < actions_.size() ? actions_[production] : None);
    if (length == 0) return emptyResult(0);
    return joinedResult(length);
}

CVenturaParser::CVenturaParser(const std::string& sourceFile)
    : CVenturaMarkupParser(sourceFile, kVentura567Grammar) {
    replacementList().lineJoining = false;
}

CVentura4Parser::CVentura4Parser(const std::string& sourceFile)
    : CVenturaMarkupParser(sourceFile, kVentura4Grammar) {}

}  // namespace tessel::dtp
