// Reader of the grammar files in lib/resources/grammars/.
//
// A grammar file is read line by line. Blank lines and lines whose first
// non-blank character is '#' are ignored. Statements:
//
//   grammar KEY                 short name of the grammar (tessel tokens KEY ...)
//   lexer-table NAME            resource name of the lexer table (type LEXTABLE)
//   parser-table NAME           resource name of the parser table (type YACCTABLE)
//   token NUMBER "display name" name shown for the token in messages; tokens
//                               without a token statement have no display name
//   define NAME PATTERN         named pattern, used as {NAME} in later patterns
//   list NUMBER                 starts expression list NUMBER (0, 1, 2, ... in order);
//                               the lexer rules below belong to it. Every list
//                               also gets the rule BOF -> token -1, ignored.
//   TOKEN OPTIONS : PATTERN     lexer rule of the current list. OPTIONS, any of:
//                                 ignore          the token never reaches the parser
//                                 push N          make list N current, remembering this one
//                                 pop             return to the remembered list
//                                 switch N        pop, then push N
//                                 priority N      where two rules match the same text,
//                                                 the higher priority wins (default 0);
//                                                 equal priorities with different
//                                                 outcomes are an error
//                               PATTERN syntax: see pattern.h (anchors ^ and $,
//                               sets, {BOF}, (?i:...) for any case, ...).
//   start Nk                    start symbol; production 0 is start -> Nk eof
//   Pn Nk -> SYMBOLS            production n (numbered 1, 2, ... in order); symbols
//                               are token numbers and nonterminals Nk; empty for
//                               an empty right side
//   recover [all] after [start] SYMBOLS : MARKS
//   recover [all] start : MARKS
//                               recovery states (row flag 1): every state entered by
//                               shifting SYMBOLS from any state (from the start state
//                               only with "after start"), or the start state itself;
//                               MARKS are the terminals whose shift actions carry the
//                               recovery mark; "all" adds row flag 4 (every terminal
//                               of the row resumes there)
//   prefer shift on T           resolves a shift/reduce conflict on terminal T
//   prefer Pn on T              resolves a conflict on T in favour of reducing by Pn
//
// Any parse conflict not resolved by "prefer" is an error.
#include <cctype>
#include <set>
#include <sstream>

#include "grammar.h"
#include "grammar_error.h"

namespace tessel::grammar {
namespace {

std::string trim(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    std::size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

std::vector<std::string> words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> result;
    std::string w;
    while (in >> w) result.push_back(w);
    return result;
}

bool parseInteger(const std::string& word, long& value) {
    if (word.empty()) return false;
    std::size_t i = (word[0] == '-') ? 1 : 0;
    if (i == word.size()) return false;
    for (std::size_t j = i; j < word.size(); ++j) {
        if (!std::isdigit(static_cast<unsigned char>(word[j]))) return false;
    }
    if (word.size() > 10) return false;
    value = std::stol(word);
    return true;
}

class GrammarReader {
  public:
    GrammarReader(const std::string& text, const std::string& file) : text_(text) {
        grammar_.file = file;
        grammar_.productions.push_back({});  // start production, completed at the end
    }

    Grammar read() {
        std::istringstream in(text_);
        std::string raw;
        while (std::getline(in, raw)) {
            ++line_;
            std::string statement = trim(raw);
            if (statement.empty() || statement[0] == '#') continue;
            readStatement(statement);
        }
        finish();
        return std::move(grammar_);
    }

  private:
    [[noreturn]] void fail(const std::string& message) const { throw GrammarError(line_, message); }

    long integer(const std::string& word, const char* what) const {
        long value = 0;
        if (!parseInteger(word, value))
            fail(std::string("expected ") + what + ", found '" + word + "'");
        return value;
    }

    int symbol(const std::string& word) const {
        if (word.size() > 1 && word[0] == 'N') {
            long k = integer(word.substr(1), "a nonterminal number");
            if (k < 1 || k > 0x3FFF) fail("nonterminal out of range: " + word);
            return kNonterminalBase + static_cast<int>(k);
        }
        long t = integer(word, "a token number or nonterminal");
        if (t < 1 || t >= kNonterminalBase) fail("token number out of range: " + word);
        return static_cast<int>(t);
    }

    void readStatement(const std::string& statement) {
        auto w = words(statement);
        const std::string& head = w[0];
        if (head == "grammar" || head == "lexer-table" || head == "parser-table") {
            if (w.size() != 2) fail(head + " takes one name");
            std::string& target = head == "grammar"       ? grammar_.key
                                  : head == "lexer-table" ? grammar_.lexResource
                                                          : grammar_.yaccResource;
            target = w[1];
        } else if (head == "token") {
            readTokenName(statement);
        } else if (head == "define") {
            if (w.size() < 3) fail("define takes a name and a pattern");
            std::size_t at = statement.find(w[1], 6) + w[1].size();
            grammar_.definitions[w[1]] = trim(statement.substr(at));
        } else if (head == "list") {
            readList(w);
        } else if (head == "start") {
            if (w.size() != 2) fail("start takes one nonterminal");
            grammar_.start = symbol(w[1]);
            if (!isNonterminal(grammar_.start)) fail("the start symbol must be a nonterminal");
            grammar_.startLine = line_;
        } else if (head.size() > 1 && head[0] == 'P' &&
                   std::isdigit(static_cast<unsigned char>(head[1]))) {
            readProduction(w);
        } else if (head == "recover") {
            readRecovery(w);
        } else if (head == "prefer") {
            readPreference(w);
        } else if (std::isdigit(static_cast<unsigned char>(head[0])) || head[0] == '-') {
            readRule(statement);
        } else {
            fail("unknown statement '" + head + "'");
        }
    }

    void readTokenName(const std::string& statement) {
        std::size_t quote = statement.find('"');
        auto w = words(statement.substr(0, quote == std::string::npos ? statement.size() : quote));
        if (w.size() != 2 || quote == std::string::npos) fail("expected: token NUMBER \"name\"");
        int token = static_cast<int>(integer(w[1], "a token number"));
        std::string name;
        std::size_t i = quote + 1;
        for (; i < statement.size() && statement[i] != '"'; ++i) {
            if (statement[i] == '\\' && i + 1 < statement.size()) ++i;
            name += statement[i];
        }
        if (i >= statement.size()) fail("missing closing '\"' of the token name");
        if (trim(statement.substr(i + 1)) != "") fail("text after the token name");
        if (!grammar_.tokenNames.emplace(token, name).second) {
            fail("token " + std::to_string(token) + " named twice");
        }
    }

    void readList(const std::vector<std::string>& w) {
        if (w.size() != 2) fail("list takes one number");
        long n = integer(w[1], "a list number");
        if (n != static_cast<long>(grammar_.lists.size())) {
            fail("expression lists must be numbered 0, 1, 2, ... in order; expected " +
                 std::to_string(grammar_.lists.size()));
        }
        grammar_.lists.push_back({line_, {}});
    }

    void readRule(const std::string& statement) {
        if (grammar_.lists.empty()) fail("lexer rule outside of a list");
        std::size_t colon = statement.find(':');
        if (colon == std::string::npos) fail("lexer rule without ':' before its pattern");
        auto w = words(statement.substr(0, colon));
        LexRule rule;
        rule.line = line_;
        long token = integer(w[0], "a token number");
        if (token < 1 || token >= kNonterminalBase) fail("token number out of range");
        rule.token = static_cast<std::int32_t>(token);
        for (std::size_t i = 1; i < w.size(); ++i) {
            const std::string& option = w[i];
            if (option == "ignore") {
                rule.ignore = true;
            } else if (option == "pop") {
                setChange(rule, ListChange::Pop);
            } else if (option == "push" || option == "switch") {
                setChange(rule, option == "push" ? ListChange::Push : ListChange::Switch);
                if (++i == w.size()) fail(option + " needs a list number");
                rule.targetList = static_cast<int>(integer(w[i], "a list number"));
            } else if (option == "priority") {
                if (++i == w.size()) fail("priority needs a number");
                rule.priority = static_cast<int>(integer(w[i], "a priority"));
            } else {
                fail("unknown rule option '" + option + "'");
            }
        }
        rule.pattern = trim(statement.substr(colon + 1));
        if (rule.pattern.empty()) fail("lexer rule without a pattern");
        grammar_.lists.back().rules.push_back(std::move(rule));
    }

    void setChange(LexRule& rule, ListChange change) const {
        if (rule.change != ListChange::None) fail("more than one list change in a rule");
        rule.change = change;
    }

    void readProduction(const std::vector<std::string>& w) {
        long number = integer(w[0].substr(1), "a production number");
        if (number != static_cast<long>(grammar_.productions.size())) {
            fail("productions must be numbered 1, 2, ... in order; expected P" +
                 std::to_string(grammar_.productions.size()));
        }
        if (w.size() < 3 || w[2] != "->") fail("expected: Pn Nk -> symbols");
        Production p;
        p.line = line_;
        p.left = symbol(w[1]);
        if (!isNonterminal(p.left)) fail("the left side must be a nonterminal");
        for (std::size_t i = 3; i < w.size(); ++i) p.right.push_back(symbol(w[i]));
        grammar_.productions.push_back(std::move(p));
    }

    void readRecovery(const std::vector<std::string>& w) {
        RecoveryState state;
        state.line = line_;
        std::size_t i = 1;
        if (i < w.size() && w[i] == "all") {
            state.everyTerminal = true;
            ++i;
        }
        if (i < w.size() && w[i] == "start") {
            ++i;
        } else if (i < w.size() && w[i] == "after") {
            ++i;
            if (i < w.size() && w[i] == "start") {
                state.fromStart = true;
                ++i;
            }
            for (; i < w.size() && w[i] != ":"; ++i) state.path.push_back(symbol(w[i]));
            if (state.path.empty()) fail("recover after needs symbols");
        } else {
            fail("expected: recover [all] start|after SYMBOLS : MARKS");
        }
        if (i == w.size() || w[i] != ":") fail("recover: missing ':' before the marks");
        for (++i; i < w.size(); ++i) {
            int mark = symbol(w[i]);
            if (isNonterminal(mark)) fail("recovery marks must be terminals");
            state.marks.push_back(mark);
        }
        grammar_.recoveries.push_back(std::move(state));
    }

    void readPreference(const std::vector<std::string>& w) {
        if (w.size() != 4 || w[2] != "on") fail("expected: prefer shift|Pn on TOKEN");
        ConflictPreference preference;
        preference.line = line_;
        if (w[1] == "shift") {
            preference.production = 0;
        } else if (w[1].size() > 1 && w[1][0] == 'P') {
            preference.production =
                static_cast<int>(integer(w[1].substr(1), "a production number"));
            if (preference.production < 1) fail("prefer names a production from P1 on");
        } else {
            fail("expected: prefer shift|Pn on TOKEN");
        }
        preference.terminal = symbol(w[3]);
        grammar_.preferences.push_back(preference);
    }

    void finish() {
        if (grammar_.key.empty()) fail("missing 'grammar' statement");
        if (grammar_.lexResource.empty() || grammar_.yaccResource.empty()) {
            fail("missing 'lexer-table' or 'parser-table' statement");
        }
        if (grammar_.lists.empty()) fail("no expression list");
        if (grammar_.start == 0) fail("missing 'start' statement");
        if (grammar_.productions.size() < 2) fail("no production");
        for (const auto& list : grammar_.lists) {
            for (const auto& rule : list.rules) {
                bool needsList =
                    rule.change == ListChange::Push || rule.change == ListChange::Switch;
                if (needsList && (rule.targetList < 0 ||
                                  rule.targetList >= static_cast<int>(grammar_.lists.size()))) {
                    throw GrammarError(rule.line,
                                       "no expression list " + std::to_string(rule.targetList));
                }
            }
        }
        for (const auto& preference : grammar_.preferences) {
            if (preference.production >= static_cast<int>(grammar_.productions.size())) {
                throw GrammarError(preference.line,
                                   "no production P" + std::to_string(preference.production));
            }
        }
        Production& start = grammar_.productions[0];
        start.line = grammar_.startLine;
        start.left = 0;
        start.right = {grammar_.start, kEofSymbol};
    }

    const std::string& text_;
    Grammar grammar_;
    int line_ = 0;
};

}  // namespace

Grammar readGrammar(const std::string& text, const std::string& file) {
    return GrammarReader(text, file).read();
}

std::string symbolName(int symbol) {
    if (symbol == kEofSymbol) return "eof";
    if (symbol == 0) return "start";
    if (isNonterminal(symbol)) {
        // Appending keeps g++ 12's -Wrestrict false alarm on "literal" + string away.
        std::string name = "N";
        name += std::to_string(symbol - kNonterminalBase);
        return name;
    }
    return std::to_string(symbol);
}

}  // namespace tessel::grammar
