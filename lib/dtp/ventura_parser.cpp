#include "dtp/ventura_parser.h"

#include <utility>

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

// The marks of the actions.
constexpr VenturaMark kWholeCodeMarks[] = {{0, 2, false}};
constexpr VenturaMark kCodeWithArgumentMarks[] = {{0, 0, false}, {2, 2, false}};
constexpr VenturaMark kCodeWithoutArgumentMarks[] = {{0, 1, false}};
constexpr VenturaMark kFirstExternalMarks[] = {{0, 0, true}};
constexpr VenturaMark kFirstInternalMarks[] = {{0, 0, false}};
constexpr VenturaMark kSecondExternalMarks[] = {{1, 1, true}};
constexpr VenturaMark kSecondInternalMarks[] = {{1, 1, false}};

}  // namespace

const VenturaGrammar kVentura4Grammar{resources::kVentura4Grammar, resources::kVentura4LexTable,
                                      resources::kVentura4YaccTable, kVentura4Actions};
const VenturaGrammar kVentura567Grammar{resources::kVenturaGrammar, resources::kVenturaLexTable,
                                        resources::kVenturaYaccTable, kVenturaActions};

std::span<const VenturaMark> venturaMarks(VenturaAction action) {
    switch (action) {
        case WholeCode:
            return kWholeCodeMarks;
        case CodeWithArgument:
            return kCodeWithArgumentMarks;
        case CodeWithoutArgument:
            return kCodeWithoutArgumentMarks;
        case ExternalTag:
        case TableBegin:
            return kFirstExternalMarks;
        case InternalTag:
            return kFirstInternalMarks;
        case CellCommas:
            return kSecondInternalMarks;
        case TableEnd:
        case CellSeparator:
        case RowTag:
        case TableKeyword:
            return kSecondExternalMarks;
        case None:
            break;
    }
    return {};
}

CVenturaMarkupParser::CVenturaMarkupParser(const std::string& sourceFile,
                                           const VenturaGrammar& grammar)
    : CMarkupParser(sourceFile, grammar.lexTable, resources::kLexTableType, grammar.yaccTable,
                    resources::kYaccTableType),
      actions_(grammar.actions) {
    attachLexer(std::make_unique<CGrammarLexer>(grammar.key));
}

void CVenturaMarkupParser::act(VenturaAction action) {
    for (const VenturaMark& mark : venturaMarks(action)) {
        CTextPiece piece = piecesFor(mark.first, mark.last);
        if (mark.external) {
            addExternal(std::move(piece));
            continue;
        }
        // Codes nested in a whole code were marked when they were reduced;
        // the whole code is one run.
        if (action == WholeCode) replacementList().removeEnclosedBy(piece);
        addInternal(std::move(piece));
    }
}

SSRefPtr<SSYaccStackItem> CVenturaMarkupParser::reduce(std::uint32_t production,
                                                       std::uint32_t length) {
    act(production < actions_.size() ? actions_[production] : None);
    // Marks take their ranges from the tokens of terminals, so the result
    // is the first symbol's item made new, without a range: joining the
    // ranges of its symbols would cost a scan of every token again. No
    // later mark starts at it.
    SSRefPtr<SSYaccStackItem> result = emptyResult(length);
    static_cast<CMarkupStackItem&>(*result).mayStartPiece = false;
    return result;
}

CVenturaParser::CVenturaParser(const std::string& sourceFile)
    : CVenturaMarkupParser(sourceFile, kVentura567Grammar) {
    replacementList().lineJoining = false;
}

CVentura4Parser::CVentura4Parser(const std::string& sourceFile)
    : CVenturaMarkupParser(sourceFile, kVentura4Grammar) {}

}  // namespace tessel::dtp
