#include "parser/ss_yacc.h"

#include <algorithm>

#include "parser/ss_exception.h"

namespace tessel::parser {

namespace {

SSRefPtr<SSToken> makeOwnToken(std::int32_t number, std::string_view text, std::int32_t line,
                               std::int32_t offset) {
    SSToken::Fields fields;
    fields.tokenNumber = number;
    fields.text = text;
    fields.line = line;
    fields.offset = offset;
    return SSRefPtr<SSToken>(SSToken::createOwned(fields));
}

}  // namespace

SSYacc::SSYacc() {
    init();
}

SSYacc::SSYacc(const std::string& tableFile)
    : ownedTable_(std::make_unique<SSYaccTableSet>(SSYaccTableSet::fromFile(tableFile))) {
    table_ = ownedTable_.get();
    init();
}

SSYacc::~SSYacc() {
    while (spareCount_ != 0) spares_[--spareCount_]->destroy();
}

void SSYacc::init() {
    eof_ = makeOwnToken(kSSYaccEofSymbol, "eof", -1, -1);
    ItemPtr first(SSYacc::newStackItem());
    first->setState(0);
    stack_.push(first);
}

void SSYacc::remakeBottomItem() {
    if (stack_.count() != 1) return;
    ItemPtr first(newStackItem());
    if (!first) return;
    first->setState(stack_.top()->state());
    stack_.pop();
    stack_.push(first);
}

void SSYacc::setTable(const SSYaccTableSet& table) {
    table_ = &table;
}

void SSYacc::setLex(SSLex& lex) {
    lex_ = &lex;
}

int SSYacc::acceptResult() {
    return errorFlag_ ? 1 : 0;
}

SSRefPtr<SSToken> SSYacc::readToken() {
    if (lex_ == nullptr) throw SSException(SSError::YaccLexMissing);
    return lex_->nextToken();
}

SSYaccStackItem* SSYacc::newStackItem() {
    return withStorage([] { return new SSYaccStackItem(); });
}

SSYaccStackItem* SSYacc::shiftItem(SSToken&) {
    return newStackItem();
}

int SSYacc::previewToken(SSToken&) {
    return 0;
}

int SSYacc::syntaxError(std::uint32_t, SSToken&) {
    return recover();
}

int SSYacc::lookaheadError(std::uint32_t state, SSToken& lookahead, SSToken*) {
    return syntaxError(state, lookahead);
}

const SSYaccTableSet::Row& SSYacc::rowOf(std::uint32_t state) const {
    if (table_ == nullptr || state >= table_->stateCount()) {
        throw SSException(SSError::YaccParseFailed);
    }
    return table_->row(state);
}

void SSYacc::throwParseFailed() {
    throw SSException(SSError::YaccParseFailed);
}

[[gnu::always_inline]] inline void SSYacc::lookupAction(std::uint32_t state, std::int32_t symbol) {
    takeAction(table_->actionWord(state, symbol));
}

[[gnu::always_inline]] inline void SSYacc::takeAction(std::uint32_t word) {
    std::uint32_t operand = word & kSSYaccOperandMask;
    if (word & kSSYaccShift) {
        action_ = Action::Shift;
        state_ = operand;
    } else if (word & kSSYaccReduce) {
        action_ = Action::Reduce;
        production_ = operand;
        productionLength_ = table_->production(operand).length;
        leftSide_ = table_->production(operand).leftSide;
    } else if (word & kSSYaccAccept) {
        action_ = Action::Accept;
    } else if (word & kSSYaccLookahead) {
        action_ = Action::Lookahead;
        lookaheadList_ = operand;
    } else {
        action_ = Action::Error;
    }
}

[[gnu::always_inline]] inline bool SSYacc::fetchLookahead(bool withAction) {
    TokenPtr token;
    if (!queue_.empty()) {
        token = std::move(queue_.front());
        queue_.pop_front();
        if (previewToken(*token) != 0) return false;
    } else if (endOfInput_) {
        throw SSException(SSError::YaccReadPastEof);
    } else {
        token = readOrEof();
    }
    lookahead_ = std::move(token);
    ++fetchCount_;
    if (withAction) lookupAction(state_, symbolOf(*lookahead_));
    return true;
}

[[gnu::always_inline]] inline SSRefPtr<SSToken> SSYacc::readOrEof() {
    TokenPtr token = readToken();
    if (!token) {
        endOfInput_ = true;
        token = eof_;
    }
    return token;
}

[[gnu::always_inline]] inline bool SSYacc::doShift() {
    SSYaccStackItem* raw = shiftItem(*lookahead_);
    if (raw == nullptr) return false;
    ItemPtr item(raw);
    item->setToken(lookahead_.get());
    item->setState(state_);
    stack_.push(std::move(item));
    reductionsSinceShift_ = 0;
    depthAtShift_ = stack_.count();
    errorConfigurations_.clear();
    if (!fetchLookahead(true)) return false;
    ++shiftsSinceError_;
    return true;
}

// From the state below the reduction's result, to the goto state of the
// reduced nonterminal, which the result's item takes.
[[gnu::always_inline]] inline void SSYacc::enterGoto(SSYaccStackItem& item) {
    checkState(state_);
    std::uint32_t target = table_->gotoState(state_, leftSide_);
    if (target == kSSYaccNoGoto) throw SSException(SSError::YaccInvalidGoto, {long{leftSide_}});
    state_ = target;
    item.setState(state_);
}

[[gnu::always_inline]] inline bool SSYacc::doReduce() {
    // Between two shifts a sound table reduces a bounded number of times and
    // grows the stack by fewer items than it has states (a state repeated on
    // the same lookahead would repeat forever). A table that cycles through
    // reductions would otherwise never stop or fill the memory.
    std::uint64_t states = table_->stateCount();
    if (++reductionsSinceShift_ > (depthAtShift_ + 1 + states) * (states + 1) ||
        stack_.count() > depthAtShift_ + states + 1) {
        throw SSException(SSError::YaccParseFailed);
    }
    ItemPtr item = reduce(production_, productionLength_);
    if (!item) return false;
    current_ = item;
    // Most reductions make the first symbol's own item the result: it then
    // stays in its slot, and only the items above it are popped.
    const std::uint32_t length = productionLength_;
    if (length != 0 && stack_.count() > length && stack_.at(length - 1).get() == item.get()) {
        popItems(length - 1);
        state_ = stack_.at(1)->state();
        enterGoto(*item);
    } else {
        popItems(length);
        enterGoto(*item);
        stack_.push(std::move(item));
    }
    lookupAction(state_, symbolOf(*lookahead_));
    return true;
}

void SSYacc::popItem() {
    stack_.pop();
    state_ = stack_.top()->state();
}

[[gnu::always_inline]] inline void SSYacc::popItems(std::uint32_t count) {
    if (count >= stack_.count()) {
        // Popping the last item leaves no state to return to (SSLifo0002e).
        stack_.drop(stack_.count());
        stack_.top();
    }
    if (keepSpares_) {
        // An item that only the stack holds becomes a spare.
        stack_.drop(count, [&](ItemPtr& item) {
            if (item->refCount() == 1 && spareCount_ < kMaxSpareItems) {
                spares_[spareCount_++] = item.giveUp();
            }
        });
    } else {
        stack_.drop(count);
    }
    state_ = stack_.top()->state();
}

int SSYacc::parse() {
    if (table_ == nullptr) throw SSException(SSError::YaccTableMissing);
    state_ = stack_.top()->state();
    if (!fetchLookahead(false)) return 1;
    checkState(state_);
    lookupAction(state_, symbolOf(*lookahead_));
    for (;;) {
        switch (action_) {
            case Action::Shift:
                if (!doShift()) return 1;
                break;
            case Action::Reduce:
                if (!doReduce()) return 1;
                break;
            case Action::Error:
                if (doError() != 0) return 1;
                break;
            case Action::Lookahead:
                if (!doLookahead()) return 1;
                break;
            case Action::Accept:
                result_ = current_;
                return acceptResult();
            default:
                throw SSException(SSError::YaccParseFailed);
        }
        if (stop_) return 1;
    }
}

void SSYacc::guardErrorLoop() {
    // The same stack and the same lookahead twice without a shift in between
    // would repeat forever: the table cannot recover here.
    std::vector<std::uint32_t> configuration;
    withStorage([&] {
        configuration.reserve(stack_.count() + 2);
        configuration.push_back(static_cast<std::uint32_t>(fetchCount_));
        configuration.push_back(static_cast<std::uint32_t>(fetchCount_ >> 32));
        for (std::size_t depth = 0; depth < stack_.count(); ++depth) {
            configuration.push_back(stack_.at(depth)->state());
        }
    });
    if (std::find(errorConfigurations_.begin(), errorConfigurations_.end(), configuration) !=
        errorConfigurations_.end()) {
        throw SSException(SSError::YaccParseFailed);
    }
    withStorage([&] { errorConfigurations_.push_back(std::move(configuration)); });
}

int SSYacc::doError() {
    guardErrorLoop();
    errorFlag_ = true;
    int result = syntaxError(state_, *lookahead_);
    if (result != 0) return result;
    shiftsSinceError_ = 0;
    return 0;
}

SSRefPtr<SSToken> SSYacc::tokenAhead() {
    if (static_cast<std::size_t>(readIndex_) < queue_.size()) return queue_[readIndex_++];
    if (endOfInput_) return {};
    TokenPtr token = readOrEof();
    withStorage([&] { queue_.push_back(token); });
    ++readIndex_;
    return token;
}

bool SSYacc::doLookahead() {
    const SSLexExpressionList& list = table_->lookaheadList(lookaheadList_);
    readIndex_ = 0;
    underList_ = lookahead_;
    std::uint32_t at = list.next(0, static_cast<std::uint32_t>(symbolOf(*lookahead_)));
    while (at != kSSLexNoState && !(list.accept(at).flags & kSSLexFlagAccept)) {
        TokenPtr next = tokenAhead();
        if (!next) {
            at = kSSLexNoState;
            break;
        }
        underList_ = next;
        at = list.next(at, static_cast<std::uint32_t>(symbolOf(*next)));
    }
    readIndex_ = -1;
    if (at == kSSLexNoState) {
        guardErrorLoop();
        errorFlag_ = true;
        if (lookaheadError(state_, *lookahead_, underList_.get()) != 0) return false;
        shiftsSinceError_ = 0;
        return true;
    }
    const SSLexAcceptEntry& entry = list.accept(at);
    auto target = static_cast<std::uint32_t>(entry.tokenNumber);
    if (entry.flags & kSSLexFlagReduce) {
        if (target >= table_->productionCount()) throw SSException(SSError::YaccParseFailed);
        takeAction(kSSYaccReduce | target);
    } else {
        if (target >= table_->stateCount()) throw SSException(SSError::YaccParseFailed);
        takeAction(kSSYaccShift | target);
    }
    return true;
}

void SSYacc::collectRecoveryTerminals(SSSetArray& set) const {
    auto addAll = [&](const SSYaccTableSet::Row& row) {
        for (const auto& action : row.actions) set.add(action.symbol);
    };
    for (std::size_t depth = 0; depth < stack_.count(); ++depth) {
        const auto& row = rowOf(stack_.at(depth)->state());
        if (row.flags & kSSYaccRowFullRecovery) addAll(row);
        if (row.flags & kSSYaccRowMarkedRecovery) {
            for (const auto& action : row.actions) {
                if (action.word & kSSYaccRecoveryMark) set.add(action.symbol);
            }
        }
        if ((row.flags & kSSYaccRowErrorShift) && row.errorShiftState) {
            addAll(rowOf(*row.errorShiftState));
        }
    }
}

SSYacc::Resume SSYacc::resumeAt(std::uint32_t state) {
    const auto& row = rowOf(state);
    std::int32_t symbol = symbolOf(*lookahead_);
    if ((row.flags & kSSYaccRowErrorShift) && row.errorShiftState) {
        std::uint32_t errorState = *row.errorShiftState;
        lookupAction(errorState, symbol);
        if (action_ != Action::Error) {
            SSYaccStackItem* raw = newStackItem();
            if (raw == nullptr) return Resume::Stop;
            ItemPtr item(raw);
            item->setToken(makeErrorToken().get());
            item->setState(errorState);
            stack_.push(std::move(item));
            return Resume::Here;
        }
    }
    if (row.flags & kSSYaccRowFullRecovery) {
        lookupAction(state, symbol);
        if (action_ != Action::Error) return Resume::Here;
    }
    if (row.flags & kSSYaccRowMarkedRecovery) {
        bool hasEntry = std::any_of(row.actions.begin(), row.actions.end(),
                                    [&](const auto& action) { return action.symbol == symbol; });
        if (hasEntry) {
            lookupAction(state, symbol);
            // An entry that is itself an error would bring the parse straight
            // back here; it does not count as a place to resume.
            if (action_ != Action::Error) return Resume::Here;
        }
    }
    return Resume::Not;
}

int SSYacc::recover() {
    SSSetArray terminals(64, 64);
    collectRecoveryTerminals(terminals);
    if (terminals.count() == 0) throw SSException(SSError::YaccErrorTokenFailed);
    while (!terminals.contains(symbolOf(*lookahead_))) {
        if (!fetchLookahead(false)) return 1;
    }
    for (;;) {
        state_ = stack_.top()->state();
        switch (resumeAt(state_)) {
            case Resume::Here:
                return 0;
            case Resume::Stop:
                return 1;
            case Resume::Not:
                popItem();
                break;
        }
    }
}

SSRefPtr<SSToken> SSYacc::makeErrorToken() const {
    return makeOwnToken(kSSYaccErrorSymbol, "%error", 0, 0);
}

void SSYacc::throwInvalidElement(std::int32_t index) {
    throw SSException(SSError::YaccInvalidElementIndex, {long{index}});
}

std::vector<std::int32_t> SSYacc::expectedTokens(std::uint32_t state) const {
    if (table_ == nullptr || state >= table_->stateCount()) {
        throw SSException(SSError::YaccInvalidState, {static_cast<long>(state)});
    }
    std::vector<std::int32_t> symbols;
    symbols.reserve(table_->row(state).actions.size());
    for (const auto& action : table_->row(state).actions) symbols.push_back(action.symbol);
    return symbols;
}

}  // namespace tessel::parser
