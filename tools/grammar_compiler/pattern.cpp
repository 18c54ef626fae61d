#include "pattern.h"

#include <cctype>

#include "grammar_error.h"

namespace tessel::grammar {
namespace {

constexpr int kMaxDefinitionDepth = 32;

bool isAsciiLetter(std::uint32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::uint32_t otherCase(std::uint32_t c) {
    return c ^ 0x20u;
}

class PatternParser {
  public:
    PatternParser(const std::string& text, const PatternDefinitions& definitions, Nfa& nfa,
                  int line, int depth, bool ignoreCase)
        : text_(text),
          definitions_(definitions),
          nfa_(nfa),
          line_(line),
          depth_(depth),
          ignoreCase_(ignoreCase) {}

    CompiledPattern parseWhole() {
        CompiledPattern result{};
        skipBlanks();
        if (peek('^')) {
            ++pos_;
            result.anchors.startOfLine = true;
        }
        NfaFragment body = parseAlternation();
        skipBlanks();
        if (peek('$')) {
            ++pos_;
            result.anchors.endOfLine = true;
            skipBlanks();
        }
        if (pos_ != text_.size()) fail("unexpected '" + std::string(1, text_[pos_]) + "'");
        if (result.anchors.startOfLine) {
            CharSet lineStart;
            lineStart.add('\n');
            lineStart.add(kBofChar);
            body = concat(chars(lineStart), body);
        }
        if (result.anchors.endOfLine) body = concat(body, chars(single('\n')));
        result.fragment = body;
        return result;
    }

    NfaFragment parseNested() {
        NfaFragment body = parseAlternation();
        skipBlanks();
        if (pos_ != text_.size()) fail("unexpected '" + std::string(1, text_[pos_]) + "'");
        return body;
    }

  private:
    [[noreturn]] void fail(const std::string& message) const {
        throw GrammarError(line_, "pattern error: " + message + " in: " + text_);
    }

    bool atEnd() const { return pos_ >= text_.size(); }
    bool peek(char c) const { return !atEnd() && text_[pos_] == c; }
    void skipBlanks() {
        while (!atEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    }
    std::uint32_t byteAt(std::size_t i) const { return static_cast<unsigned char>(text_[i]); }

    static CharSet single(std::uint32_t c) {
        CharSet set;
        set.add(c);
        return set;
    }

    NfaFragment chars(const CharSet& set) {
        NfaFragment f{nfa_.addState(), nfa_.addState()};
        for (const auto& r : set.ranges())
            nfa_.states[f.start].edges.push_back({r.low, r.high, f.end});
        return f;
    }

    NfaFragment empty() {
        NfaFragment f{nfa_.addState(), nfa_.addState()};
        nfa_.states[f.start].epsilon.push_back(f.end);
        return f;
    }

    NfaFragment concat(NfaFragment a, NfaFragment b) {
        nfa_.states[a.end].epsilon.push_back(b.start);
        return {a.start, b.end};
    }

    NfaFragment either(NfaFragment a, NfaFragment b) {
        NfaFragment f{nfa_.addState(), nfa_.addState()};
        nfa_.states[f.start].epsilon.push_back(a.start);
        nfa_.states[f.start].epsilon.push_back(b.start);
        nfa_.states[a.end].epsilon.push_back(f.end);
        nfa_.states[b.end].epsilon.push_back(f.end);
        return f;
    }

    NfaFragment repeat(NfaFragment a, char op) {
        NfaFragment f{nfa_.addState(), nfa_.addState()};
        nfa_.states[f.start].epsilon.push_back(a.start);
        nfa_.states[a.end].epsilon.push_back(f.end);
        if (op != '?') nfa_.states[a.end].epsilon.push_back(a.start);
        if (op != '+') nfa_.states[f.start].epsilon.push_back(f.end);
        return f;
    }

    CharSet literal(std::uint32_t c) const {
        CharSet set = single(c);
        if (ignoreCase_ && isAsciiLetter(c)) set.add(otherCase(c));
        return set;
    }

    NfaFragment parseAlternation() {
        NfaFragment result = parseSequence();
        skipBlanks();
        while (peek('|')) {
            ++pos_;
            result = either(result, parseSequence());
            skipBlanks();
        }
        return result;
    }

    bool startsItem() {
        skipBlanks();
        if (atEnd()) return false;
        char c = text_[pos_];
        if (c == '|' || c == ')') return false;
        // A trailing end-of-line anchor belongs to the whole pattern.
        if (c == '$' && depth_ == 0 && parenDepth_ == 0 && restIsBlank(pos_ + 1)) return false;
        return true;
    }

    bool restIsBlank(std::size_t from) const {
        for (std::size_t i = from; i < text_.size(); ++i) {
            if (text_[i] != ' ' && text_[i] != '\t') return false;
        }
        return true;
    }

    NfaFragment parseSequence() {
        if (!startsItem()) return empty();
        NfaFragment result = parsePostfix();
        while (startsItem()) result = concat(result, parsePostfix());
        return result;
    }

    NfaFragment parsePostfix() {
        NfaFragment atom = parseAtom();
        skipBlanks();
        while (peek('*') || peek('+') || peek('?')) {
            atom = repeat(atom, text_[pos_++]);
            skipBlanks();
        }
        return atom;
    }

    NfaFragment parseAtom() {
        char c = text_[pos_];
        switch (c) {
            case '(':
                return parseGroup();
            case '[':
                return chars(parseSet());
            case '.':
                ++pos_;
                return chars(anyCharacter());
            case '"':
                return parseQuoted();
            case '{':
                return parseReference();
            case '\\':
                ++pos_;
                return chars(literal(parseEscape()));
            case '*':
            case '+':
            case '?':
                fail("repetition without an operand");
            case ')':
            case ']':
            case '}':
            case '^':
            case '$':
                fail(std::string("unescaped '") + c + "'");
            default:
                ++pos_;
                return chars(literal(byteAt(pos_ - 1)));
        }
    }

    static CharSet anyCharacter() {
        CharSet set;
        set.add(0, kMaxChar);
        return set;
    }

    NfaFragment parseGroup() {
        ++pos_;  // (
        bool saved = ignoreCase_;
        if (text_.compare(pos_, 3, "?i:") == 0) {
            pos_ += 3;
            ignoreCase_ = true;
        }
        ++parenDepth_;
        NfaFragment inner = parseAlternation();
        --parenDepth_;
        ignoreCase_ = saved;
        skipBlanks();
        if (!peek(')')) fail("missing ')'");
        ++pos_;
        return inner;
    }

    std::uint32_t parseEscape() {
        if (atEnd()) fail("backslash at the end");
        char c = text_[pos_++];
        switch (c) {
            case 'n':
                return '\n';
            case 't':
                return '\t';
            case 'r':
                return '\r';
            case 's':
                return ' ';
            case 'x': {
                if (pos_ + 2 > text_.size() ||
                    !std::isxdigit(static_cast<unsigned char>(text_[pos_])) ||
                    !std::isxdigit(static_cast<unsigned char>(text_[pos_ + 1]))) {
                    fail("\\x needs two hexadecimal digits");
                }
                std::uint32_t value =
                    static_cast<std::uint32_t>(std::stoul(text_.substr(pos_, 2), nullptr, 16));
                pos_ += 2;
                return value;
            }
            default:
                if (std::isalnum(static_cast<unsigned char>(c))) {
                    fail(std::string("unknown escape \\") + c);
                }
                return static_cast<unsigned char>(c);
        }
    }

    NfaFragment parseQuoted() {
        ++pos_;  // opening quote
        NfaFragment result = empty();
        bool any = false;
        while (!atEnd() && text_[pos_] != '"') {
            std::uint32_t c;
            if (text_[pos_] == '\\') {
                ++pos_;
                c = parseEscape();
            } else {
                c = byteAt(pos_++);
            }
            result = concat(result, chars(literal(c)));
            any = true;
        }
        if (atEnd()) fail("missing closing '\"'");
        ++pos_;
        if (!any) fail("empty quoted text");
        return result;
    }

    CharSet parseSet() {
        ++pos_;  // [
        bool negate = false;
        if (peek('^')) {
            negate = true;
            ++pos_;
        }
        CharSet set;
        bool first = true;
        while (!atEnd() && (text_[pos_] != ']' || first)) {
            first = false;
            std::uint32_t low = setCharacter();
            std::uint32_t high = low;
            if (peek('-') && pos_ + 1 < text_.size() && text_[pos_ + 1] != ']') {
                ++pos_;
                high = setCharacter();
                if (high < low) fail("range out of order");
            }
            set.add(low, high);
            if (ignoreCase_) {
                for (std::uint32_t c = low; c <= high && c < 128; ++c) {
                    if (isAsciiLetter(c)) set.add(otherCase(c));
                }
            }
        }
        if (atEnd()) fail("missing ']'");
        ++pos_;
        return negate ? set.complement() : set;
    }

    std::uint32_t setCharacter() {
        if (text_[pos_] == '\\') {
            ++pos_;
            return parseEscape();
        }
        return byteAt(pos_++);
    }

    NfaFragment parseReference() {
        std::size_t close = text_.find('}', pos_);
        if (close == std::string::npos) fail("missing '}'");
        std::string name = text_.substr(pos_ + 1, close - pos_ - 1);
        pos_ = close + 1;
        if (name == "BOF") return chars(single(kBofChar));
        auto it = definitions_.find(name);
        if (it == definitions_.end()) fail("unknown definition {" + name + "}");
        if (depth_ >= kMaxDefinitionDepth) fail("definitions nested too deeply at {" + name + "}");
        PatternParser nested(it->second, definitions_, nfa_, line_, depth_ + 1, ignoreCase_);
        return nested.parseNested();
    }

    const std::string& text_;
    const PatternDefinitions& definitions_;
    Nfa& nfa_;
    int line_;
    int depth_;
    bool ignoreCase_;
    int parenDepth_ = 0;
    std::size_t pos_ = 0;
};

}  // namespace

CompiledPattern compilePattern(const std::string& pattern, const PatternDefinitions& definitions,
                               Nfa& nfa, int line) {
    PatternParser parser(pattern, definitions, nfa, line, 0, false);
    return parser.parseWhole();
}

}  // namespace tessel::grammar
