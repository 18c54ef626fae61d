#include "lexer_automaton.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <map>
#include <queue>
#include <set>
#include <tuple>

#include "grammar_error.h"

namespace tessel::grammar {
namespace {

struct CompiledRule {
    const LexRule* rule;
    AcceptEntry accept;
};

std::vector<int> epsilonClosure(const Nfa& nfa, std::vector<int> states) {
    std::vector<bool> seen(nfa.states.size(), false);
    std::vector<int> stack = states;
    for (int s : states) seen[s] = true;
    while (!stack.empty()) {
        int s = stack.back();
        stack.pop_back();
        for (int next : nfa.states[s].epsilon) {
            if (!seen[next]) {
                seen[next] = true;
                states.push_back(next);
                stack.push_back(next);
            }
        }
    }
    std::sort(states.begin(), states.end());
    return states;
}

std::string printable(const std::vector<std::uint32_t>& text) {
    std::string out;
    for (std::uint32_t c : text) {
        if (c == kBofChar) {
            out += "{BOF}";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
            out += buffer;
        }
    }
    return out;
}

class SubsetBuilder {
  public:
    SubsetBuilder(const Nfa& nfa, const std::vector<CompiledRule>& rules)
        : nfa_(nfa), rules_(rules) {}

    ListAutomaton build(int nfaStart) {
        stateOf(epsilonClosure(nfa_, {nfaStart}), -1, 0);
        for (std::size_t i = 0; i < subsets_.size(); ++i) expand(static_cast<int>(i));
        ListAutomaton automaton;
        automaton.states.resize(subsets_.size());
        for (std::size_t i = 0; i < subsets_.size(); ++i) {
            automaton.states[i].transitions = transitions_[i];
            automaton.states[i].accept = acceptOf(static_cast<int>(i));
        }
        return automaton;
    }

  private:
    int stateOf(const std::vector<int>& subset, int parent, std::uint32_t via) {
        auto it = ids_.find(subset);
        if (it != ids_.end()) return it->second;
        int id = static_cast<int>(subsets_.size());
        ids_.emplace(subset, id);
        subsets_.push_back(subset);
        transitions_.emplace_back();
        parents_.push_back({parent, via});
        return id;
    }

    void expand(int id) {
        std::vector<NfaEdge> edges;
        for (int s : subsets_[id]) {
            for (const auto& e : nfa_.states[s].edges) edges.push_back(e);
        }
        std::set<std::uint64_t> cuts;
        for (const auto& e : edges) {
            cuts.insert(e.low);
            cuts.insert(static_cast<std::uint64_t>(e.high) + 1);
        }
        std::vector<std::uint64_t> bounds(cuts.begin(), cuts.end());
        std::vector<DfaTransition> result;
        for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
            std::vector<int> targets;
            for (const auto& e : edges) {
                if (e.low <= bounds[i] && bounds[i] <= e.high) targets.push_back(e.target);
            }
            if (targets.empty()) continue;
            auto low = static_cast<std::uint32_t>(bounds[i]);
            auto high = static_cast<std::uint32_t>(bounds[i + 1] - 1);
            int target = stateOf(epsilonClosure(nfa_, targets), id, low);
            if (!result.empty() && result.back().target == target &&
                static_cast<std::uint64_t>(result.back().high) + 1 == low) {
                result.back().high = high;
            } else {
                result.push_back({low, high, target});
            }
        }
        transitions_[id] = std::move(result);
    }

    std::vector<std::uint32_t> witness(int id) const {
        std::vector<std::uint32_t> text;
        for (int s = id; parents_[s].first >= 0; s = parents_[s].first)
            text.push_back(parents_[s].second);
        std::reverse(text.begin(), text.end());
        return text;
    }

    AcceptEntry acceptOf(int id) const {
        const CompiledRule* best = nullptr;
        for (int s : subsets_[id]) {
            int r = nfa_.states[s].acceptRule;
            if (r < 0) continue;
            const CompiledRule& candidate = rules_[r];
            if (best == nullptr || candidate.rule->priority > best->rule->priority) {
                best = &candidate;
            } else if (candidate.rule->priority == best->rule->priority &&
                       !(candidate.accept == best->accept)) {
                const CompiledRule& later =
                    candidate.rule->line > best->rule->line ? candidate : *best;
                const CompiledRule& earlier = &later == &candidate ? *best : candidate;
                throw GrammarError(later.rule->line,
                                   "token " + std::to_string(later.rule->token) + " and token " +
                                       std::to_string(earlier.rule->token) + " (line " +
                                       std::to_string(earlier.rule->line) + ") both match \"" +
                                       printable(witness(id)) +
                                       "\"; give one of them a higher priority");
            }
        }
        if (best == nullptr) return {};
        if (id == 0) throw GrammarError(best->rule->line, "pattern matches the empty text");
        return best->accept;
    }

    const Nfa& nfa_;
    const std::vector<CompiledRule>& rules_;
    std::map<std::vector<int>, int> ids_;
    std::vector<std::vector<int>> subsets_;
    std::vector<std::vector<DfaTransition>> transitions_;
    std::vector<std::pair<int, std::uint32_t>> parents_;
};

// Merges states that accept alike and move alike (partition refinement); the
// start state stays state 0 and the other states keep their relative order.
ListAutomaton minimise(const ListAutomaton& dfa) {
    const std::size_t n = dfa.states.size();
    std::vector<int> block(n);
    {
        std::map<std::tuple<std::int32_t, std::uint32_t, std::uint32_t>, int> byAccept;
        for (std::size_t s = 0; s < n; ++s) {
            const AcceptEntry& a = dfa.states[s].accept;
            auto key = std::make_tuple(a.token, a.list, a.flags);
            block[s] = byAccept.emplace(key, static_cast<int>(byAccept.size())).first->second;
        }
    }
    for (std::size_t blocks = 0;;) {
        std::map<std::vector<std::int64_t>, int> bySignature;
        std::vector<int> next(n);
        for (std::size_t s = 0; s < n; ++s) {
            std::vector<std::int64_t> signature{block[s]};
            for (const auto& t : dfa.states[s].transitions) {
                signature.push_back(t.low);
                signature.push_back(t.high);
                signature.push_back(block[t.target]);
            }
            next[s] =
                bySignature.emplace(signature, static_cast<int>(bySignature.size())).first->second;
        }
        block = std::move(next);
        if (bySignature.size() == blocks) break;
        blocks = bySignature.size();
    }
    // Number the blocks in order of their first state, so block 0 holds state 0.
    std::map<int, int> renumber;
    for (std::size_t s = 0; s < n; ++s)
        renumber.emplace(block[s], static_cast<int>(renumber.size()));
    ListAutomaton result;
    result.states.resize(renumber.size());
    std::vector<bool> done(renumber.size(), false);
    for (std::size_t s = 0; s < n; ++s) {
        int id = renumber[block[s]];
        if (done[id]) continue;
        done[id] = true;
        DfaState state;
        state.accept = dfa.states[s].accept;
        for (const auto& t : dfa.states[s].transitions) {
            int target = renumber[block[t.target]];
            if (!state.transitions.empty() && state.transitions.back().target == target &&
                static_cast<std::uint64_t>(state.transitions.back().high) + 1 == t.low) {
                state.transitions.back().high = t.high;
            } else {
                state.transitions.push_back({t.low, t.high, target});
            }
        }
        result.states[id] = std::move(state);
    }
    return result;
}

}  // namespace

AcceptEntry acceptEntryOf(const LexRule& rule, bool startOfLine, bool endOfLine) {
    AcceptEntry entry;
    entry.token = rule.token;
    entry.flags = kAcceptFinal;
    if (rule.ignore) entry.flags |= kAcceptIgnore;
    switch (rule.change) {
        case ListChange::Push:
            entry.flags |= kAcceptPush;
            entry.list = static_cast<std::uint32_t>(rule.targetList);
            break;
        case ListChange::Switch:
            entry.flags |= kAcceptSwitch;
            entry.list = static_cast<std::uint32_t>(rule.targetList);
            break;
        case ListChange::Pop:
            entry.flags |= kAcceptPop;
            break;
        case ListChange::None:
            break;
    }
    if (startOfLine) entry.flags |= kAcceptStartOfLine;
    if (endOfLine) entry.flags |= kAcceptEndOfLine;
    return entry;
}

ListAutomaton buildListAutomaton(const Grammar& grammar, int listIndex) {
    const ExpressionList& list = grammar.lists.at(static_cast<std::size_t>(listIndex));
    // Every list swallows the start-of-input character as an ignored token -1;
    // any rule of the list that also accepts it alone takes precedence.
    LexRule bofRule;
    bofRule.line = list.line;
    bofRule.token = kBofToken;
    bofRule.ignore = true;
    bofRule.priority = INT_MIN;
    bofRule.pattern = "{BOF}";

    Nfa nfa;
    int start = nfa.addState();
    std::vector<CompiledRule> compiled;
    auto addRule = [&](const LexRule& rule) {
        CompiledPattern pattern = compilePattern(rule.pattern, grammar.definitions, nfa, rule.line);
        nfa.states[start].epsilon.push_back(pattern.fragment.start);
        nfa.states[pattern.fragment.end].acceptRule = static_cast<int>(compiled.size());
        compiled.push_back(
            {&rule, acceptEntryOf(rule, pattern.anchors.startOfLine, pattern.anchors.endOfLine)});
    };
    for (const auto& rule : list.rules) addRule(rule);
    addRule(bofRule);
    return minimise(SubsetBuilder(nfa, compiled).build(start));
}

}  // namespace tessel::grammar
