#include "verify/roundtrip_rules.h"

#include <array>

#include "markup/html_entities.h"

namespace tessel::verify {

namespace {

constexpr std::array kRules = {
    RuleDescription{RoundTripRule::LineEnds, "line-ends", "line ends are written as CR LF"},
    RuleDescription{RoundTripRule::FinalLineEnd, "final-line-end",
                    "the line end at the end of the file differs"},
    RuleDescription{RoundTripRule::TrailingBlanks, "trailing-blanks",
                    "blanks and tabs at the end of a line are dropped"},
    RuleDescription{RoundTripRule::HtmlEntities, "entities",
                    "characters are written as named entities and entities of plain "
                    "characters as the characters"},
    RuleDescription{RoundTripRule::JoinedLines, "joined-lines",
                    "a line break inside running text becomes a blank"},
    RuleDescription{RoundTripRule::LineBreakBeforeTag, "line-break-before-tag",
                    "a line break is put before a tag that the mark-up starts a paragraph with"},
    RuleDescription{RoundTripRule::JoinedTagLines, "joined-tag-lines",
                    "a tag wrapped over lines is written on one line"},
    RuleDescription{RoundTripRule::MacintoshLiterals, "macintosh-literal",
                    "a Macintosh character without a Windows counterpart is written as its "
                    "literal character tag"},
    RuleDescription{RoundTripRule::DroppedStyleReset, "dropped-style-reset",
                    "\"<$>\" after exactly 254 characters of text is dropped"},
    RuleDescription{RoundTripRule::EmptyLines, "empty-lines",
                    "empty lines are left out (the back-conversion writes no empty paragraph)"},
};

static_assert(
    [] {
        for (std::size_t i = 0; i < kRules.size(); ++i) {
            if (static_cast<std::size_t>(kRules[i].rule) != i) return false;
        }
        return true;
    }(),
    "the rows follow the order of RoundTripRule");

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

void normaliseLineEnds(std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    text.swap(out);
}

void dropTrailingBlanks(std::string& text, bool atEnd) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n') {
            while (!out.empty() && isBlank(out.back())) out.pop_back();
        }
        out += c;
    }
    if (atEnd) {
        while (!out.empty() && isBlank(out.back())) out.pop_back();
    }
    text.swap(out);
}

// Every line break with the blanks around it becomes one blank.
void joinLines(std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n') {
            out += text[i];
            continue;
        }
        while (!out.empty() && isBlank(out.back())) out.pop_back();
        while (i + 1 < text.size() && isBlank(text[i + 1])) ++i;
        out += ' ';
    }
    text.swap(out);
}

// Blanks and line breaks directly before a tag are taken away.
void dropBreaksBeforeTags(std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '<') {
            while (!out.empty() && (isBlank(out.back()) || out.back() == '\n')) out.pop_back();
        }
        out += c;
    }
    text.swap(out);
}

// Line breaks between a tag's "<" and its ">" (a backslash escapes either).
void joinTagLines(std::string& text) {
    std::string out;
    out.reserve(text.size());
    bool inTag = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        bool escaped = i > 0 && text[i - 1] == '\\';
        if (c == '<' && !escaped) inTag = true;
        if (c == '>' && !escaped) inTag = false;
        if (c == '\n' && inTag) continue;
        out += c;
    }
    text.swap(out);
}

// "<\#176>" as the byte 176 it stands for.
void expandLiterals(std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 3, "<\\#") == 0) {
            std::size_t end = i + 3;
            int value = 0;
            while (end < text.size() && end < i + 6 && text[end] >= '0' && text[end] <= '9') {
                value = value * 10 + (text[end] - '0');
                ++end;
            }
            if (end > i + 3 && end < text.size() && text[end] == '>' && value < 256) {
                out += static_cast<char>(value);
                i = end;
                continue;
            }
        }
        out += text[i];
    }
    text.swap(out);
}

// The end of the QuarkXPress tag that starts at `at` ("<" or "@"), and
// whether it is a literal character tag, which counts as a character.
std::size_t quarkTagEnd(const std::string& text, std::size_t at, bool& literal) {
    auto after = [&](std::size_t from, char wanted) {
        std::size_t found = text.find(wanted, from);
        return found == std::string::npos ? text.size() : found + 1;
    };
    literal = false;
    if (text[at] == '@') {  // "@name:" or "@name=[...]"
        std::size_t end = text.find_first_of(":=", at + 1);
        if (end == std::string::npos) return text.size();
        std::size_t bracket = text.find_first_not_of(" \t\n", end + 1);
        if (text[end] == '=' && bracket != std::string::npos && text[bracket] == '[') {
            return after(bracket, ']');
        }
        return end + 1;
    }
    if (text.compare(at, 2, "<\\") == 0) {  // "<\#183>", "<\@>", "<\>>", "<\<>"
        literal = true;
        if (text.compare(at + 2, 2, ">>") == 0) return at + 4;
        std::size_t close = text.find_first_of("<>", at + 2);
        if (close == std::string::npos) return text.size();
        return text[close] == '<' ? after(close, '>') : close + 1;
    }
    // "<B>", "<*C>", "<$>", and "<A...<...>...>" with one nested tag.
    std::size_t close = text.find_first_of("<>", at + 1);
    if (close == std::string::npos) return text.size();
    return text[close] == '<' ? after(after(close, '>'), '>') : close + 1;
}

// The characters of text on the line before `end` since its last tag, a
// literal character tag counting as one, as the QuarkXPress mark-up counts
// them. `complete` is false when `text` does not reach back to the line's
// start, so that the count may lack characters before it.
std::size_t quarkRunBefore(const std::string& text, std::size_t end, bool& complete) {
    std::size_t lineStart = end == 0 ? std::string::npos : text.rfind('\n', end - 1);
    complete = lineStart != std::string::npos;
    std::size_t count = 0;
    for (std::size_t at = complete ? lineStart + 1 : 0; at < end;) {
        if (text[at] != '<' && text[at] != '@') {
            ++count;
            ++at;
            continue;
        }
        bool literal = false;
        at = quarkTagEnd(text, at, literal);
        count = literal ? count + 1 : 0;
    }
    return count;
}

// "<$>" after exactly 254 characters of text. Where the piece's context
// does not reach back to the line start or a tag, 254 or fewer are taken
// as the rest may lie before it.
void dropStyleResets(std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 3, "<$>") == 0) {
            bool complete = true;
            std::size_t run = quarkRunBefore(text, i, complete);
            if (run == 254 || (!complete && run < 254)) {
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    text.swap(out);
}

// Every line break that follows another goes, and at the end of the file
// the last ones.
void dropEmptyLines(std::string& text, bool atEnd) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n' && !out.empty() && out.back() == '\n') continue;
        out += c;
    }
    if (atEnd) {
        while (!out.empty() && out.back() == '\n') out.pop_back();
    }
    text.swap(out);
}

}  // namespace

const RuleDescription& describe(RoundTripRule rule) {
    return kRules[static_cast<std::size_t>(rule)];
}

void applyRule(RoundTripRule rule, std::string& text, bool atEnd) {
    switch (rule) {
        case RoundTripRule::LineEnds:
            normaliseLineEnds(text);
            return;
        case RoundTripRule::FinalLineEnd:
            if (atEnd) {
                while (!text.empty() && text.back() == '\n') text.pop_back();
            }
            return;
        case RoundTripRule::TrailingBlanks:
            dropTrailingBlanks(text, atEnd);
            return;
        case RoundTripRule::HtmlEntities:
            markup::funcHTMLEntitiesToChars(text);
            return;
        case RoundTripRule::JoinedLines:
            joinLines(text);
            return;
        case RoundTripRule::LineBreakBeforeTag:
            dropBreaksBeforeTags(text);
            return;
        case RoundTripRule::JoinedTagLines:
            joinTagLines(text);
            return;
        case RoundTripRule::MacintoshLiterals:
            expandLiterals(text);
            return;
        case RoundTripRule::DroppedStyleReset:
            dropStyleResets(text);
            return;
        case RoundTripRule::EmptyLines:
            dropEmptyLines(text, atEnd);
            return;
    }
}

void applyRule(RoundTripRule rule, std::string& text, bool atEnd, const TextEncoding& encoding) {
    if (rule == RoundTripRule::HtmlEntities) {
        text = charactersOf(text, encoding);
        return;
    }
    applyRule(rule, text, atEnd);
}

}  // namespace tessel::verify
