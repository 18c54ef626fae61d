// Grammar diagnostics of the tool:
//   tessel tokens GRAMMAR FILE [--all]   the tokens the lexer hands to the parser
//   tessel parse GRAMMAR FILE            the reductions and syntax errors of a parse
// GRAMMAR is one of pagemaker, quark, ventura4, ventura, htmlcharset. Both run
// the library's parser runtime with the grammar's compiled tables.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessel::cli {

// One line per token: line, column, token number, display name and text,
// tab-separated; in the text, backslash, tab, CR and LF are written as \\ \t
// \r \n. With --all, ignored tokens are listed too, their name preceded by
// "(ignored) ".
int tokensCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// One line "reduce N" per reduction; a syntax error as "LINE:COLUMN: Unexpected
// text: ..." with the expected tokens; then "accepted" or "accepted after
// syntax errors". An error of the runtime ends the run with its message.
int parseCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tessel::cli
