#include "lalr.h"

#include <algorithm>
#include <map>
#include <set>

#include "grammar_error.h"

namespace tessel::grammar {
namespace {

struct Item {
    int production;
    int dot;
    auto operator<=>(const Item&) const = default;
};

struct LrState {
    std::vector<Item> items;  // kernel first, then the closure
    std::map<Item, std::size_t> index;
    std::map<int, int> transitions;  // symbol -> state
    std::vector<std::set<int>> lookaheads;
};

class LalrBuilder {
  public:
    explicit LalrBuilder(const Grammar& grammar) : g_(grammar) {}

    ParserTable build() {
        checkSymbols();
        computeFirstSets();
        buildLr0();
        propagateLookaheads();
        ParserTable table;
        for (std::size_t s = 0; s < states_.size(); ++s)
            table.rows.push_back(rowOf(static_cast<int>(s)));
        applyRecovery(table);
        return table;
    }

  private:
    const std::vector<int>& rhs(int p) const { return g_.productions[p].right; }

    int symbolAfterDot(const Item& item) const {
        const auto& right = rhs(item.production);
        return item.dot < static_cast<int>(right.size()) ? right[item.dot] : 0;
    }

    void checkSymbols() {
        for (std::size_t i = 0; i < g_.productions.size(); ++i) {
            producers_[g_.productions[i].left].push_back(static_cast<int>(i));
        }
        std::set<int> tokens;
        for (const auto& list : g_.lists) {
            for (const auto& rule : list.rules) {
                if (!rule.ignore) tokens.insert(rule.token);
            }
        }
        for (const auto& p : g_.productions) {
            for (int symbol : p.right) {
                if (isNonterminal(symbol) && producers_.count(symbol) == 0) {
                    throw GrammarError(p.line,
                                       "nonterminal " + symbolName(symbol) + " has no production");
                }
                if (!isNonterminal(symbol) && symbol != kEofSymbol && tokens.count(symbol) == 0) {
                    throw GrammarError(
                        p.line, "token " + symbolName(symbol) +
                                    " is not produced by any lexer rule that reaches the parser");
                }
            }
        }
    }

    void computeFirstSets() {
        bool changed = true;
        while (changed) {
            changed = false;
            for (const auto& p : g_.productions) {
                std::set<int>& first = first_[p.left];
                std::size_t before = first.size();
                bool allNullable = true;
                for (int symbol : p.right) {
                    if (!isNonterminal(symbol)) {
                        first.insert(symbol);
                        allNullable = false;
                        break;
                    }
                    const auto& sub = first_[symbol];
                    first.insert(sub.begin(), sub.end());
                    if (!nullable_.count(symbol)) {
                        allNullable = false;
                        break;
                    }
                }
                if (first.size() != before) changed = true;
                if (allNullable && nullable_.insert(p.left).second) changed = true;
            }
        }
    }

    // FIRST of the symbols from position `from` of production p; `nullable`
    // tells whether they can all derive the empty text.
    std::set<int> firstOfRest(int p, int from, bool& nullable) const {
        std::set<int> result;
        nullable = true;
        const auto& right = rhs(p);
        for (std::size_t i = static_cast<std::size_t>(from); i < right.size(); ++i) {
            int symbol = right[i];
            if (!isNonterminal(symbol)) {
                result.insert(symbol);
                nullable = false;
                return result;
            }
            auto it = first_.find(symbol);
            if (it != first_.end()) result.insert(it->second.begin(), it->second.end());
            if (!nullable_.count(symbol)) {
                nullable = false;
                return result;
            }
        }
        return result;
    }

    LrState makeState(const std::vector<Item>& kernel) const {
        LrState state;
        auto add = [&state](const Item& item) {
            if (state.index.emplace(item, state.items.size()).second) state.items.push_back(item);
        };
        for (const auto& item : kernel) add(item);
        for (std::size_t i = 0; i < state.items.size(); ++i) {
            int symbol = symbolAfterDot(state.items[i]);
            if (!isNonterminal(symbol)) continue;
            for (int p : producers_.at(symbol)) add({p, 0});
        }
        state.lookaheads.resize(state.items.size());
        return state;
    }

    void buildLr0() {
        std::map<std::vector<Item>, int> byKernel;
        std::vector<Item> startKernel{{0, 0}};
        byKernel[startKernel] = 0;
        states_.push_back(makeState(startKernel));
        for (std::size_t s = 0; s < states_.size(); ++s) {
            std::vector<int> order;
            std::map<int, std::vector<Item>> kernels;
            for (const auto& item : states_[s].items) {
                int symbol = symbolAfterDot(item);
                if (symbol == 0 || symbol == kEofSymbol) continue;
                if (kernels.count(symbol) == 0) order.push_back(symbol);
                kernels[symbol].push_back({item.production, item.dot + 1});
            }
            for (int symbol : order) {
                std::vector<Item> kernel = kernels[symbol];
                std::sort(kernel.begin(), kernel.end());
                auto [it, inserted] = byKernel.emplace(kernel, static_cast<int>(states_.size()));
                if (inserted) states_.push_back(makeState(kernel));
                states_[s].transitions[symbol] = it->second;
            }
        }
    }

    void propagateLookaheads() {
        bool changed = true;
        while (changed) {
            changed = false;
            for (auto& state : states_) {
                for (std::size_t i = 0; i < state.items.size(); ++i) {
                    const Item item = state.items[i];
                    const std::set<int> la = state.lookaheads[i];
                    int symbol = symbolAfterDot(item);
                    if (symbol == 0 || symbol == kEofSymbol) continue;
                    if (isNonterminal(symbol)) {
                        bool nullable = false;
                        std::set<int> follow = firstOfRest(item.production, item.dot + 1, nullable);
                        if (nullable) follow.insert(la.begin(), la.end());
                        for (int p : producers_.at(symbol)) {
                            changed |= addAll(state.lookaheads[state.index.at({p, 0})], follow);
                        }
                    }
                    LrState& next = states_[state.transitions.at(symbol)];
                    changed |=
                        addAll(next.lookaheads[next.index.at({item.production, item.dot + 1})], la);
                }
            }
        }
    }

    static bool addAll(std::set<int>& target, const std::set<int>& source) {
        std::size_t before = target.size();
        target.insert(source.begin(), source.end());
        return target.size() != before;
    }

    ParserRow rowOf(int s) const {
        const LrState& state = states_[s];
        std::map<int, std::uint32_t, std::greater<>> actions;  // descending; eof (-1) sorts last
        std::map<int, int> reducedBy;  // terminal -> production, for messages
        for (const auto& [symbol, target] : state.transitions) {
            if (!isNonterminal(symbol))
                actions[symbol] = kActionShift | static_cast<std::uint32_t>(target);
        }
        for (std::size_t i = 0; i < state.items.size(); ++i) {
            const Item& item = state.items[i];
            int symbol = symbolAfterDot(item);
            if (symbol == kEofSymbol) {
                actions[kEofSymbol] = kActionAccept;
                continue;
            }
            if (symbol != 0) continue;
            for (int terminal : state.lookaheads[i]) {
                addReduce(s, actions, reducedBy, terminal, item.production);
            }
        }
        ParserRow row;
        for (const auto& [symbol, word] : actions) row.actions.push_back({symbol, word});
        for (const auto& [symbol, target] : state.transitions) {
            if (isNonterminal(symbol)) row.gotos.push_back({symbol, target});
        }
        return row;
    }

    void addReduce(int s, std::map<int, std::uint32_t, std::greater<>>& actions,
                   std::map<int, int>& reducedBy, int terminal, int production) const {
        std::uint32_t reduce = kActionReduce | static_cast<std::uint32_t>(production);
        auto existing = actions.find(terminal);
        if (existing == actions.end()) {
            actions[terminal] = reduce;
            reducedBy[terminal] = production;
            return;
        }
        bool shiftConflict = (existing->second & kActionShift) != 0;
        int other = shiftConflict ? 0 : reducedBy.at(terminal);
        int preferred = preference(terminal, other, production);
        if (preferred < 0) {
            std::string what =
                shiftConflict
                    ? "shift/reduce conflict on token " + symbolName(terminal) +
                          " between shifting and reducing by P" + std::to_string(production)
                    : "reduce/reduce conflict on token " + symbolName(terminal) + " between P" +
                          std::to_string(other) + " and P" + std::to_string(production);
            throw GrammarError(g_.productions[production].line,
                               what + " (parser state " + std::to_string(s) + ")");
        }
        if (preferred == production) {
            actions[terminal] = reduce;
            reducedBy[terminal] = production;
        }
    }

    // Which of two competing actions on a terminal the grammar prefers (0 for
    // shifting), or -1 when it says nothing about them.
    int preference(int terminal, int first, int second) const {
        for (const auto& p : g_.preferences) {
            if (p.terminal == terminal && (p.production == first || p.production == second)) {
                return p.production;
            }
        }
        return -1;
    }

    std::vector<int> statesAfter(const RecoveryState& recovery) const {
        std::vector<int> result;
        std::vector<int> origins;
        if (recovery.path.empty()) return {0};
        if (recovery.fromStart) {
            origins.push_back(0);
        } else {
            for (std::size_t s = 0; s < states_.size(); ++s) origins.push_back(static_cast<int>(s));
        }
        for (int origin : origins) {
            int s = origin;
            for (int symbol : recovery.path) {
                auto it = states_[s].transitions.find(symbol);
                if (it == states_[s].transitions.end()) {
                    s = -1;
                    break;
                }
                s = it->second;
            }
            if (s >= 0 && std::find(result.begin(), result.end(), s) == result.end())
                result.push_back(s);
        }
        return result;
    }

    void applyRecovery(ParserTable& table) const {
        for (const auto& recovery : g_.recoveries) {
            std::vector<int> targets = statesAfter(recovery);
            if (targets.empty())
                throw GrammarError(recovery.line, "no parser state is entered this way");
            for (int s : targets) {
                ParserRow& row = table.rows[s];
                row.flags |= kRowRecovery;
                if (recovery.everyTerminal) row.flags |= kRowRecoverEveryTerminal;
                for (int mark : recovery.marks) {
                    auto it =
                        std::find_if(row.actions.begin(), row.actions.end(),
                                     [mark](const ParserAction& a) { return a.symbol == mark; });
                    if (it == row.actions.end() || (it->word & kActionShift) == 0) {
                        throw GrammarError(recovery.line,
                                           "the recovery state (parser state " + std::to_string(s) +
                                               ") does not shift token " + symbolName(mark));
                    }
                    it->word |= kActionRecoveryMark;
                }
            }
        }
    }

    const Grammar& g_;
    std::map<int, std::vector<int>> producers_;
    std::map<int, std::set<int>> first_;
    std::set<int> nullable_;
    std::vector<LrState> states_;
};

}  // namespace

ParserTable buildParserTable(const Grammar& grammar) {
    return LalrBuilder(grammar).build();
}

}  // namespace tessel::grammar
