#include "parser/ss_lex.h"

#include "parser/ss_exception.h"
#include "parser/ss_lex_file_input.h"

namespace tessel::parser {

namespace {

constexpr std::string_view kTokenNotFound = "SSLexTokenNotFound";

bool hasFlags(const SSLexAcceptEntry& entry, std::uint32_t flags) {
    return (entry.flags & flags) == flags;
}

}  // namespace

SSLex::SSLex() = default;

SSLex::SSLex(SSLexInput& input, SSLexTableSet& tables) : input_(&input) {
    setTableSet(tables);
}

SSLex::SSLex(const std::string& fileName)
    : ownedInput_(std::make_unique<SSLexFileInput>(fileName)) {
    input_ = ownedInput_.get();
}

SSLex::~SSLex() = default;

void SSLex::setTableSet(SSLexTableSet& tables) {
    tables_ = &tables;
    if (listStack_.empty()) pushExpressionList(0);
}

void SSLex::setInput(SSLexInput& input) {
    input_ = &input;
}

void SSLex::pushExpressionList(std::uint32_t index) {
    if (tables_ == nullptr) throw SSException(SSError::LexMissingTableOrInput);
    tables_->expressionList(index);  // throws SSLex0106e for a list that does not exist
    listStack_.push(index);
    currentList_ = index;
}

void SSLex::popExpressionList() {
    listStack_.pop();
    currentList_ = listStack_.top();
}

void SSLex::switchExpressionList(std::uint32_t index) {
    if (tables_ == nullptr) throw SSException(SSError::LexMissingTableOrInput);
    tables_->expressionList(index);
    listStack_.pop();
    listStack_.push(index);
    currentList_ = index;
}

void SSLex::changeExpressionList(const SSLexAcceptEntry& entry) {
    if (hasFlags(entry, kSSLexFlagSwitch)) {
        switchExpressionList(entry.expressionList);
    } else if (hasFlags(entry, kSSLexFlagPop)) {
        popExpressionList();
    } else if (hasFlags(entry, kSSLexFlagPush)) {
        pushExpressionList(entry.expressionList);
    }
}

void SSLex::finishToken(SSToken& token, const SSLexAcceptEntry& entry) {
    ++tokensReturned_;
    if (hasFlags(entry, kSSLexFlagAlternate)) {
        token.setAlternateTokenNumber(entry.alternateTokenNumber);
    }
    if (hasFlags(entry, kSSLexFlagKeyword))
        keywordLookup(token, entry.keywordTable, input_->kind());
}

SSRefPtr<SSToken> SSLex::nextToken() {
    if (tables_ == nullptr || input_ == nullptr) {
        throw SSException(SSError::LexMissingTableOrInput);
    }
    SSLexInput& in = *input_;
    for (;;) {
        const SSLexExpressionList& list = tables_->expressionList(currentList_);
        bool bofAtStart = in.bofPending();
        state_ = 0;
        SSLexAcceptEntry candidate = list.accept(0);
        bool matched = candidate.tokenNumber != 0;
        SSLexMatchEnd end = in.matchEnd();
        if (!in.nextChar()) return {};

        for (;;) {
            end.position -= in.takeShiftCount();
            std::uint32_t next = list.next(state_, in.currentChar());
            if (next == kSSLexNoState) break;
            state_ = next;
            const SSLexAcceptEntry& entry = list.accept(state_);
            if (entry.flags & kSSLexFlagAccept) {
                candidate = entry;
                matched = true;
                end = in.matchEnd();
            }
            if (!in.nextChar()) break;
        }
        end.position -= in.takeShiftCount();

        if (matched && hasFlags(candidate, kSSLexFlagEndAnchor)) in.giveBack(end);
        // A match that consumes neither a byte nor the BOF would be found again
        // and again; it counts as no match.
        bool progress = end.position > in.mark() || (bofAtStart && !in.bofPending());
        if (matched && progress && hasFlags(candidate, kSSLexFlagIgnore)) {
            changeExpressionList(candidate);
            if (auto token = discardToken(in, candidate.tokenNumber, end)) {
                finishToken(*token, candidate);
                return token;
            }
            continue;
        }
        if (matched && progress && hasFlags(candidate, kSSLexFlagAccept)) {
            changeExpressionList(candidate);
            // A start-of-line token matched as LF + text begins on the next
            // line; at the start of the input (line base 0) there is no LF.
            if (hasFlags(candidate, kSSLexFlagStartAnchor) && in.lineBase() != 0 &&
                in.startColumn() != 0) {
                in.skipLeadingNewline(end);
            }
            if (auto token = completeToken(in, candidate.tokenNumber, end)) {
                finishToken(*token, candidate);
                return token;
            }
            continue;
        }
        if (auto token = invalidToken(in)) {
            ++tokensReturned_;
            return token;
        }
        in.dropRead();
    }
}

SSRefPtr<SSToken> SSLex::invalidToken(SSLexInput& input) {
    std::string text(input.bytes(input.mark(), input.position()));
    long line = input.markLine();
    long offset = input.startColumn();
    input.dropRead();
    throw SSException(SSError::LexInvalidToken, {line, offset, text});
}

std::string_view SSLex::tokenName(std::int32_t) const {
    return kTokenNotFound;
}

SSRefPtr<SSToken> SSLex::discardToken(SSLexInput& input, std::int32_t, const SSLexMatchEnd& end) {
    input.consume(end);
    return {};
}

SSRefPtr<SSToken> SSLex::completeToken(SSLexInput& input, std::int32_t tokenNumber,
                                       const SSLexMatchEnd& end) {
    return buildToken(input, tokenNumber, end);
}

SSRefPtr<SSToken> SSLex::buildToken(SSLexInput& input, std::int32_t tokenNumber,
                                    const SSLexMatchEnd& end) {
    SSToken::Fields fields;
    fields.tokenNumber = tokenNumber;
    fields.text = input.bytes(input.mark(), end.position);
    fields.line = input.markLine();
    fields.offset = input.startColumn();
    fields.streamOffset = static_cast<std::uint32_t>(input.markStreamOffset());
    fields.singleByte = input.kind() != SSLexInput::Unicode16;
    SSRefPtr<SSToken> token(SSToken::createInline(fields));
    input.consume(end);
    return token;
}

void SSLex::keywordLookup(SSToken& token, std::uint32_t table, SSLexInput::Kind) {
    if (table >= tables_->keywordTableCount()) {
        throw SSException(SSError::LexInvalidKeywordIndex, {static_cast<long>(table)});
    }
    tables_->keywordTable(table).lookup(token);
}

}  // namespace tessel::parser
