#include "dtp/page_maker_parser.h"

#include "dtp/grammar_lexer.h"
#include "resources/markup_framework_texts.h"
#include "resources/page_maker_texts.h"

namespace tessel::dtp {

CPageMakerParser::CPageMakerParser(const std::string& sourceFile)
    : CMarkupParser(sourceFile, resources::kPageMakerLexTable, resources::kLexTableType,
                    resources::kPageMakerYaccTable, resources::kYaccTableType) {
    attachLexer(std::make_unique<CGrammarLexer>(resources::kPageMakerGrammar));
    auto list = std::make_unique<CPageMakerReplaceList>(sourceFile);
    // Line ends inside an internal tag are dropped, so a tag that wraps stays
    // one run without a paragraph mark.
    list->internalWithoutLineEnds = true;
    pageMakerList_ = list.get();
    attachReplacementList(std::move(list));
}

parser::SSYaccStackItem* CPageMakerParser::shiftItem(parser::SSToken& token) {
    if (token.parserSymbol() != kHeaderToken) return newStackItem();
    // The header is the first token the grammar takes, and a parse that goes
    // on past it ends by reducing it with the body: no later token can take
    // its place, so recovery that pops it cuts the parse short. Marked now
    // rather than in that last reduction, it lets the pieces after it be
    // written while the body is parsed.
    addExternal(CTextPiece::fromLexeme(token.textView(), static_cast<std::uint32_t>(token.line()),
                                       static_cast<std::uint32_t>(token.offset()),
                                       sourceFileRef()));
    auto* item = static_cast<CMarkupStackItem*>(newStackItem());
    item->mayStartPiece = false;
    return item;
}

parser::SSRefPtr<parser::SSYaccStackItem> CPageMakerParser::reduce(std::uint32_t production,
                                                                   std::uint32_t length) {
    switch (production) {
        case kEscapedCharacter:
            markInternal(0, 0);
            break;
        case kInternalTag:
            markInternal(0, 2);
            break;
        case kExternalTag:
            markExternal(0, 2);
            break;
        case kIndexWithoutText:
        case kIndexFirstQuote:
            markInternal(0, 1);
            break;
        case kIndexBetweenTexts:
        case kIndexEnd:
            markInternal(1, 2);
            break;
        default:
            break;
    }
    return emptyResult(length);
}

}  // namespace tessel::dtp
