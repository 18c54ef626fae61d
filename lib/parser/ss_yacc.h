// Table-driven LALR(1) parser over the tokens of an SSLex.
//
// parse() runs shift/reduce steps until accept. The derived class supplies
// the semantic action of every production in reduce() and reads the
// right-side items there with elementFromProduction(). A token for which the
// current state has no action is a syntax error: syntaxError() (by default
// recover()) skips tokens until one that some stacked recovery state can take
// arrives, pops down to that state and goes on; a failed recovery leaves
// parse() by its SSException.
//
// Usage:
//   class MyParser : public SSYacc {
//       SSRefPtr<SSYaccStackItem> reduce(std::uint32_t production,
//                                        std::uint32_t length) override;
//   };
//   SSYaccTableSet table = SSYaccTableSet::fromResource("PageMakerYaccTable");
//   MyParser parser; parser.setTable(table); parser.setLex(lex);
//   int result = parser.parse();  // acceptResult(), or 1 when cut short
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "parser/ss_lex.h"
#include "parser/ss_lifo.h"
#include "parser/ss_ref.h"
#include "parser/ss_set_array.h"
#include "parser/ss_token.h"
#include "parser/ss_yacc_stack_item.h"
#include "parser/ss_yacc_table_set.h"

namespace tessel::parser {

class SSYacc {
  public:
    enum class Action { Shift = 0, Error = 1, Reduce = 2, Accept = 3, Lookahead = 4 };

    // Without a table; attach one with setTable().
    SSYacc();
    // Loads the parser table from a file and owns it (SSYacc0101e when the
    // file cannot be opened).
    explicit SSYacc(const std::string& tableFile);
    virtual ~SSYacc();
    SSYacc(const SSYacc&) = delete;
    SSYacc& operator=(const SSYacc&) = delete;

    // Both borrowed: they must outlive the parse.
    void setTable(const SSYaccTableSet& table);
    void setLex(SSLex& lex);
    SSLex* lex() const { return lex_; }
    const SSYaccTableSet* table() const { return table_; }

    // Runs to accept and returns acceptResult(); returns 1 when a hook
    // returned nothing, asked to stop, or the stop flag was set.
    int parse();

    // --- Hooks (virtual in this order) ---
    // Value of parse() at accept; default: the error flag (1 when syntax
    // errors occurred and recovery handled them).
    virtual int acceptResult();
    // Next token from the lexer (SSYacc0110e without a lexer).
    virtual SSRefPtr<SSToken> readToken();
    // A new stack item (count 0).
    virtual SSYaccStackItem* newStackItem();
    // The item for a shifted token; default newStackItem().
    virtual SSYaccStackItem* shiftItem(SSToken& token);
    // Called for each token taken from the lookahead queue; non-zero stops.
    virtual int previewToken(SSToken& token);
    // A syntax error in `state` at `lookahead`; default recover(). Non-zero
    // ends the parse with 1.
    virtual int syntaxError(std::uint32_t state, SSToken& lookahead);
    // The semantic action: the item that stands for the production's left
    // side (an empty result ends the parse with 1).
    virtual SSRefPtr<SSYaccStackItem> reduce(std::uint32_t production, std::uint32_t length) = 0;
    // A lookahead list found no way on; default syntaxError(state, lookahead).
    virtual int lookaheadError(std::uint32_t state, SSToken& lookahead, SSToken* underList);

    // The default error recovery (see the class comment); 0 when the parse
    // may go on. Throws SSYacc0105e with no recovery state on the stack and
    // SSYacc0103e when it would have to skip past "eof".
    int recover();

    // Makes the bottom item of the stack again with newStackItem(), which
    // the constructor cannot reach: a derived parser whose reduce actions
    // take every item for its own kind calls it in its constructor, before
    // parsing. Does nothing once the stack holds more than that item.
    void remakeBottomItem();

    // Item recycling for a derived parser whose newStackItem() can make a
    // used item new again: once enabled, items that a reduction pops and
    // nothing else holds are kept (up to a few), not destroyed, and
    // takeSpareItem() hands them out again. A parse pops about one item per
    // token, and a kept item saves its destruction and a construction.
    void keepSpareItems() { keepSpares_ = true; }
    // A kept item (count 0, still with its old token and fields), or nullptr.
    SSYaccStackItem* takeSpareItem() { return spareCount_ != 0 ? spares_[--spareCount_] : nullptr; }

    // During reduce(): the item of the i-th right-side symbol (0 = first);
    // SSYacc0108e for an index outside the production.
    SSYaccStackItem* elementFromProduction(std::int32_t index) const {
        auto length = static_cast<std::int64_t>(productionLength_);
        std::int64_t depth = length - 1 - index;
        if (index < 0 || index >= length || depth >= static_cast<std::int64_t>(stack_.count())) {
            throwInvalidElement(index);
        }
        return stack_.at(static_cast<std::size_t>(depth)).get();
    }
    // Symbols of the state's action entries in row order (SSYacc0114e for a
    // state that does not exist).
    std::vector<std::int32_t> expectedTokens(std::uint32_t state) const;

    std::uint32_t currentState() const { return state_; }
    SSToken* lookahead() const { return lookahead_.get(); }
    bool errorOccurred() const { return errorFlag_; }
    // When set, parse() returns 1 after the current step.
    void setStop(bool stop) { stop_ = stop; }
    bool stopRequested() const { return stop_; }
    // The item current at accept (the start symbol's item).
    SSYaccStackItem* resultItem() const { return result_.get(); }
    std::size_t stackDepth() const { return stack_.count(); }
    // The item `depth` places below the top of the stack (0: the top).
    SSYaccStackItem* stackItem(std::size_t depth) const { return stack_.at(depth).get(); }

  private:
    using ItemPtr = SSRefPtr<SSYaccStackItem>;
    using TokenPtr = SSRefPtr<SSToken>;

    enum class Resume { Here, Not, Stop };

    void init();
    [[noreturn]] static void throwInvalidElement(std::int32_t index);
    static std::int32_t symbolOf(const SSToken& token) { return token.parserSymbol(); }
    // SSYacc0102e unless `state` is a state of the table. The table's own
    // targets were checked while loading; states read back from stack items
    // are checked here.
    void checkState(std::uint32_t state) const {
        if (state >= table_->stateCount()) throwParseFailed();
    }
    [[noreturn]] static void throwParseFailed();
    // Looks up the action for (state, symbol) and makes it current.
    // Precondition: state < the table's state count.
    void lookupAction(std::uint32_t state, std::int32_t symbol);
    void takeAction(std::uint32_t word);
    // Takes the next lookahead; false when previewToken() asked to stop.
    bool fetchLookahead(bool withAction);
    TokenPtr readOrEof();
    bool doShift();
    bool doReduce();
    void enterGoto(SSYaccStackItem& item);
    bool doLookahead();
    int doError();
    const SSYaccTableSet::Row& rowOf(std::uint32_t state) const;
    void collectRecoveryTerminals(SSSetArray& set) const;
    Resume resumeAt(std::uint32_t state);
    void guardErrorLoop();
    TokenPtr tokenAhead();
    void popItem();
    void popItems(std::uint32_t count);
    TokenPtr makeErrorToken() const;

    SSLex* lex_ = nullptr;
    std::uint32_t lookaheadList_ = 0;
    const SSYaccTableSet* table_ = nullptr;
    std::unique_ptr<SSYaccTableSet> ownedTable_;
    bool errorFlag_ = false;
    bool stop_ = false;
    std::uint32_t state_ = 0;
    std::uint64_t shiftsSinceError_ = 0;
    TokenPtr lookahead_;
    bool endOfInput_ = false;
    std::uint32_t production_ = 0;
    TokenPtr underList_;
    std::uint32_t productionLength_ = 0;
    std::deque<TokenPtr> queue_;
    SSLifo<ItemPtr> stack_{64, 64};
    Action action_ = Action::Error;
    std::int64_t readIndex_ = -1;
    std::int32_t leftSide_ = 0;
    TokenPtr eof_;
    ItemPtr current_;
    ItemPtr result_;
    // Guards against tables that would loop without consuming input.
    std::uint64_t reductionsSinceShift_ = 0;
    std::uint64_t depthAtShift_ = 0;
    std::uint64_t fetchCount_ = 0;
    std::vector<std::vector<std::uint32_t>> errorConfigurations_;
    // A reduction pops no more items than its production is long, and the
    // next shift or reduction takes one again: a few spares are enough.
    static constexpr std::size_t kMaxSpareItems = 16;
    // Kept items, count 0, destroyed with the parser.
    std::array<SSYaccStackItem*, kMaxSpareItems> spares_{};
    std::size_t spareCount_ = 0;
    bool keepSpares_ = false;
};

}  // namespace tessel::parser
