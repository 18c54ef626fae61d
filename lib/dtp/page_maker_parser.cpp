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

parser::SSRefPtr<parser::SSYaccStackItem> CPageMakerParser::reduce(std::uint32_t production,
                                                                   std::uint32_t) {
    switch (production) {
        case kHeaderAndBody:
            markExternal(0, 0);
            break;
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
    return emptyResult();
}

}  // namespace tessel::dtp
