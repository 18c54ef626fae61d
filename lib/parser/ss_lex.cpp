#include "parser/ss_lex.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>

#include "parser/ss_exception.h"
#include "parser/ss_lex_file_input.h"
#include "platform/byte_scan.h"

namespace tessel::parser {

namespace {

constexpr std::string_view kTokenNotFound = "SSLexTokenNotFound";

bool hasFlags(const SSLexAcceptEntry& entry, std::uint32_t flags) {
    return (entry.flags & flags) == flags;
}

// Moves `at` over the bytes that keep the automaton in a run state, up to
// the next stop byte or the end of the data, counting their lines and
// columns as single steps would. A chunk is tested for the stops and for
// line feeds at once; the line feeds the run holds are counted by their
// marks, so a line end does not end the scan. Kept out of line: inlined, it
// takes the registers that the byte loop of longestMatch() needs.
[[gnu::noinline]] void passRun(const std::uint8_t* data, std::size_t stop,
                               const SSLexExpressionList::RunState& run, SSLexMatchEnd& at) {
    using namespace platform::detail;
    static_assert(SSLexExpressionList::kMaxRunStops == 3, "a run has at most three stops");
    // Missing stops repeat the line feed. A line feed the run holds is no
    // stop: its marks are taken out of the stops' marks. Where the run does
    // not hold it, the line feed is one of the stops.
    const std::uint8_t a = run.stopCount > 0 ? run.stops[0] : '\n';
    const std::uint8_t b = run.stopCount > 1 ? run.stops[1] : '\n';
    const std::uint8_t c = run.stopCount > 2 ? run.stops[2] : '\n';
    const ChunkMask heldFeeds = run.holdsLineFeeds ? ~ChunkMask{0} : ChunkMask{0};
    const std::size_t from = at.position;
    std::size_t to = from;
    std::size_t lastLineFeed = stop;
    std::int64_t lineFeeds = 0;
    auto countFeeds = [&](ChunkMask feeds, std::size_t base) {
        if (feeds == 0) return;
        lineFeeds += static_cast<std::int64_t>(countMarked(feeds));
        lastLineFeed = base + lastMarked(feeds);
    };
    bool stopped = false;
    for (; stop - to >= kChunkSize; to += kChunkSize) {
        const Chunk chunk = loadChunk(data + to);
        const ChunkMask feeds = ChunkMask{bytesEqual(chunk, '\n')} & heldFeeds;
        const ChunkMask stops =
            ChunkMask{bytesEqual(chunk, a) | bytesEqual(chunk, b) | bytesEqual(chunk, c)} & ~feeds;
        if (stops != 0) {
            const std::size_t first = firstMarked(stops);
            countFeeds(feeds & firstBytes(first), to);
            to += first;
            stopped = true;
            break;
        }
        countFeeds(feeds, to);
    }
    // Fewer bytes than a chunk before the end of the data.
    for (; !stopped && to < stop; ++to) {
        const std::uint8_t byte = data[to];
        if (byte == '\n' && run.holdsLineFeeds) {
            ++lineFeeds;
            lastLineFeed = to;
        } else if (byte == a || byte == b || byte == c) {
            break;
        }
    }
    if (lastLineFeed != stop) {
        at.relativeLines += lineFeeds;
        at.column = static_cast<std::int32_t>(to - lastLineFeed);
    } else {
        at.column += static_cast<std::int32_t>(to - from);
    }
    at.position = to;
}

}  // namespace

SSLex::SSLex() = default;

SSLex::SSLex(SSLexInput& input, const SSLexTableSet& tables) : input_(&input) {
    setTableSet(tables);
}

SSLex::SSLex(const std::string& fileName)
    : ownedInput_(std::make_unique<SSLexFileInput>(fileName)) {
    input_ = ownedInput_.get();
}

SSLex::~SSLex() = default;

void SSLex::setTableSet(const SSLexTableSet& tables) {
    tables_ = &tables;
    list_ = nullptr;
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
    list_ = nullptr;
}

void SSLex::popExpressionList() {
    list_ = nullptr;
    listStack_.pop();
    currentList_ = listStack_.top();
}

void SSLex::switchExpressionList(std::uint32_t index) {
    if (tables_ == nullptr) throw SSException(SSError::LexMissingTableOrInput);
    tables_->expressionList(index);
    list_ = nullptr;
    listStack_.pop();
    listStack_.push(index);
    currentList_ = index;
}

[[gnu::always_inline]] inline void SSLex::enterTargetList(std::uint32_t index) {
    listStack_.push(index);
    currentList_ = index;
    list_ = &tables_->targetList(index);
}

[[gnu::always_inline]] inline void SSLex::returnToList() {
    listStack_.pop();
    currentList_ = listStack_.top();
    list_ = &tables_->expressionList(currentList_);
}

// Inlined into nextToken(), which has the registers saved already.
[[gnu::always_inline]] inline void SSLex::changeExpressionList(const SSLexAcceptEntry& entry) {
    if (hasFlags(entry, kSSLexFlagSwitch)) {
        listStack_.pop();
        enterTargetList(entry.expressionList);
    } else if (hasFlags(entry, kSSLexFlagPop)) {
        returnToList();
    } else {
        enterTargetList(entry.expressionList);
    }
}

void SSLex::renumberToken(SSToken& token, const SSLexAcceptEntry& entry) {
    if (hasFlags(entry, kSSLexFlagAlternate)) {
        token.setAlternateTokenNumber(entry.alternateTokenNumber);
    }
    if (hasFlags(entry, kSSLexFlagKeyword))
        keywordLookup(token, entry.keywordTable, input_->kind());
}

// Inlined into nextToken(): it runs once per lexeme, ignored ones included.
[[gnu::always_inline]] inline SSLex::Match SSLex::longestMatch(SSLexInput& in,
                                                               const SSLexExpressionList& list) {
    const SSLexAcceptEntry* candidate = &list.accept(0);
    bool matched = candidate->tokenNumber != 0;
    SSLexMatchEnd end = in.matchEnd();
    std::uint32_t state = 0;
    bool readAny = false;  // a byte or the BOF
    for (;;) {
        if (in.singleByteRun()) {
            // Plain bytes straight from the buffer through the dense table;
            // the state that last accepted is looked up once at the end.
            const std::uint8_t* data = in.data();
            const bool* lead = in.leadByteTable();
            const std::uint32_t* dense = list.denseTable();
            const SSLexExpressionList::RunState* runs = list.runStates();
            std::size_t stop = in.dataEnd();
            SSLexMatchEnd at = in.matchEnd();
            std::uint32_t acceptedState = kSSLexNoState;
            // Two copies of the loop: most code pages have no lead bytes to
            // test for.
            auto run = [&](auto checkLead) {
                while (at.position < stop) {
                    std::uint8_t byte = data[at.position];
                    if constexpr (decltype(checkLead)::value) {
                        if (lead[byte]) return false;
                    }
                    ++at.position;
                    if (byte == '\n') {
                        ++at.relativeLines;
                        at.column = 1;
                    } else {
                        ++at.column;
                    }
                    std::uint32_t next =
                        dense[std::size_t{state} * SSLexExpressionList::kDenseWidth + byte];
                    if (next == kSSLexNoState) return true;
                    state = next & SSLexExpressionList::kDenseStateMask;
                    if constexpr (!decltype(checkLead)::value) {
                        // Without lead bytes every byte is a character: a
                        // run state passes its bytes in one step.
                        if (next & SSLexExpressionList::kDenseRun) {
                            passRun(data, stop, runs[state], at);
                        }
                    }
                    if (next & SSLexExpressionList::kDenseAccepting) {
                        acceptedState = state;
                        end = at;
                    }
                }
                return false;
            };
            bool refused = in.hasLeadBytes() ? run(std::true_type{}) : run(std::false_type{});
            readAny = readAny || at.position != in.position();
            in.advanceSingleBytes(at);
            if (acceptedState != kSSLexNoState) {
                candidate = &list.accept(acceptedState);
                matched = true;
            }
            if (refused) break;
        }
        // The BOF, double-byte characters and the end of the buffer go
        // through nextChar(), which may refill and move the buffer content:
        // only then are recorded positions shifted.
        bool delivered = in.nextChar();
        end.position -= in.takeShiftCount();
        if (!delivered) break;
        readAny = true;
        std::uint32_t next = list.next(state, in.currentChar());
        if (next == kSSLexNoState) break;
        state = next;
        if (list.accept(state).flags & kSSLexFlagAccept) {
            candidate = &list.accept(state);
            matched = true;
            end = in.matchEnd();
        }
    }
    return {candidate, end, matched, readAny};
}

SSRefPtr<SSToken> SSLex::nextToken() {
    if (tables_ == nullptr || input_ == nullptr) {
        throw SSException(SSError::LexMissingTableOrInput);
    }
    SSLexInput& in = *input_;
    for (;;) {
        if (list_ == nullptr) list_ = &tables_->expressionList(currentList_);
        const SSLexExpressionList& list = *list_;
        bool bofAtStart = in.bofPending();
        Match match = longestMatch(in, list);
        if (!match.readAny) return {};
        const SSLexAcceptEntry& candidate = *match.entry;
        std::uint32_t flags = match.matched ? candidate.flags : 0;

        if (flags & kSSLexFlagEndAnchor) in.giveBack(match.end);
        // A match that consumes neither a byte nor the BOF would be found again
        // and again; it counts as no match.
        bool progress = match.end.position > in.mark() || (bofAtStart && !in.bofPending());
        if (!progress) flags = 0;
        if (flags & kSSLexFlagIgnore) {
            if (flags & (kSSLexFlagPush | kSSLexFlagPop)) changeExpressionList(candidate);
            if (auto token = discardToken(in, candidate.tokenNumber, match.end)) {
                finishToken(*token, candidate);
                return token;
            }
            continue;
        }
        if (flags & kSSLexFlagAccept) {
            if (flags & (kSSLexFlagPush | kSSLexFlagPop)) changeExpressionList(candidate);
            // A start-of-line token matched as LF + text begins on the next
            // line; at the start of the input (line base 0) there is no LF.
            if ((flags & kSSLexFlagStartAnchor) && in.lineBase() != 0 && in.startColumn() != 0) {
                in.skipLeadingNewline(match.end);
            }
            if (auto token = completeToken(in, candidate.tokenNumber, match.end)) {
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

void SSLex::keywordLookup(SSToken& token, std::uint32_t table, SSLexInput::Kind) {
    if (table >= tables_->keywordTableCount()) {
        throw SSException(SSError::LexInvalidKeywordIndex, {static_cast<long>(table)});
    }
    tables_->keywordTable(table).lookup(token);
}

}  // namespace tessel::parser
