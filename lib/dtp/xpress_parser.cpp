#include "dtp/xpress_parser.h"

#include <cstdint>
#include <limits>

#include "dtp/grammar_lexer.h"
#include "dtp/source_characters.h"
#include "resources/markup_framework_texts.h"
#include "resources/xpress_texts.h"

namespace tessel::dtp {

using parser::SSRefPtr;
using parser::SSYaccStackItem;

namespace {

// Run lengths only need to tell 254 from everything else; a line of more than
// two thousand million characters stays at the largest count.
std::int32_t addToRun(std::int32_t runLength, std::int64_t added) {
    std::int64_t sum = static_cast<std::int64_t>(runLength) + added;
    constexpr std::int64_t largest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(sum > largest ? largest : sum);
}

}  // namespace

CXPressParser::CXPressParser(const std::string& sourceFile)
    : CMarkupParser(sourceFile, resources::kXPressLexTable, resources::kLexTableType,
                    resources::kXPressYaccTable, resources::kYaccTableType) {
    attachLexer(std::make_unique<CGrammarLexer>(resources::kXPressGrammar));
    auto list = std::make_unique<CXPressReplaceList>(sourceFile);
    xpressList_ = list.get();
    attachReplacementList(std::move(list));
}

std::int32_t CXPressParser::runLengthOf(std::int32_t index) const {
    return markupItem(index).runLength;
}

std::int64_t CXPressParser::textLengthOf(std::int32_t index) const {
    parser::SSToken* token = elementFromProduction(index)->token();
    return token != nullptr ? static_cast<std::int64_t>(token->textView().size()) : 0;
}

// The encoding tag decides how the text is read, unless a byte-order mark
// did before it.
void CXPressParser::takeEncoding(std::int32_t index) {
    parser::SSToken* token = elementFromProduction(index)->token();
    SourceCharacters& characters = activeSourceCharacters();
    if (token == nullptr || characters.decodes()) return;
    if (token->textView() == resources::kXPressMacintoshEncoding) {
        xpressList_->macintosh = true;
        return;
    }
    for (std::string_view unicode : resources::kXPressUnicodeEncodings) {
        if (token->textView() == unicode) characters.utf8 = true;
    }
}

void CXPressParser::markDollar(std::int32_t runLength) {
    if (runLength == kDroppedDollarRunLength) {
        markRemoved(1, 1);
    } else {
        markInternal(1, 1);
    }
}

SSRefPtr<SSYaccStackItem> CXPressParser::reduce(std::uint32_t production, std::uint32_t length) {
    std::int32_t runLength = 0;
    switch (production) {
        case kHeader:
            markExternal(0, 1);
            takeEncoding(1);
            break;
        case kIndexedHeader:
            markExternal(0, 2);
            takeEncoding(2);
            break;
        case kFirstSpecialTag:
        case kLoneSpecialTagAtLineEnd:
        case kLoneDollarAtLineEnd:
            markExternal(0, 0);
            break;
        case kFirstOtherTag:
        case kLoneOtherTagAtLineEnd:
        case kLoneLiteralAtLineEnd:
            markInternal(0, 0);
            break;
        case kFirstText:
            runLength = addToRun(0, textLengthOf(0));
            break;
        case kFirstLiteral:
            markInternal(0, 0);
            runLength = 1;
            break;
        case kOtherTag:
        case kOtherTagAtLineEnd:
        case kLiteralAtLineEnd:
            markInternal(1, 1);
            break;
        case kSpecialTag:
        case kSpecialTagAtLineEnd:
            markExternal(1, 1);
            break;
        case kLiteral:
            markInternal(1, 1);
            runLength = addToRun(runLengthOf(0), 1);
            break;
        case kText:
            runLength = addToRun(runLengthOf(0), textLengthOf(1));
            break;
        case kDollar:
        case kDollarAtLineEnd:
            markDollar(runLengthOf(0));
            break;
        default:
            break;
    }
    SSRefPtr<SSYaccStackItem> result = emptyResult(length);
    static_cast<CMarkupStackItem*>(result.get())->runLength = runLength;
    return result;
}

}  // namespace tessel::dtp
