// Token patterns: regular expressions over the lexer's characters, compiled
// into a shared NFA.
//
// Syntax (whitespace between pattern elements is ignored, so patterns may be
// spaced out for reading; write a blank as " ", \s or inside a set):
//   c          a character other than the operators ( ) [ ] { } | * + ? . " \ ^ $
//   \n \t \r \s   line feed, tab, carriage return, blank
//   \xHH       the byte HH;  \c  the operator or other character c itself
//   "text"     the characters of text (backslash escapes as above)
//   .          any character (line feed included, start of input excluded)
//   [set]      characters and ranges a-z, escapes as above; [^set] is the
//              complement over all characters
//   {name}     a pattern defined with "define name ..."; {BOF} is the
//              start-of-input pseudo-character
//   (X)  X|Y  X*  X+  X?   grouping, alternation, repetition, option
//   (?i:X)     letters in X match either case
//   ^X         start-of-line anchor (whole pattern only): the match begins with
//              the line feed before X, or with the start of input; the line
//              feed is later removed from the token
//   X$         end-of-line anchor (whole pattern only): X followed by a line
//              feed, which the lexer gives back
#pragma once

#include <map>
#include <string>

#include "nfa.h"

namespace tessel::grammar {

struct Anchors {
    bool startOfLine = false;
    bool endOfLine = false;
};

struct CompiledPattern {
    NfaFragment fragment;
    Anchors anchors;
};

using PatternDefinitions = std::map<std::string, std::string>;

// Adds the pattern to nfa. Throws GrammarError(line, ...) on a malformed
// pattern or an unknown definition.
CompiledPattern compilePattern(const std::string& pattern, const PatternDefinitions& definitions,
                               Nfa& nfa, int line);

}  // namespace tessel::grammar
