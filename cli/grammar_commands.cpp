#include "grammar_commands.h"

#include <ostream>

#include "exit_codes.h"
#include "parser/grammar_trace.h"
#include "parser/ss_exception.h"
#include "parser/ss_lex_file_input.h"
#include "resources/grammar_catalog.h"
#include "usage_error.h"

namespace tessel::cli {
namespace {

using parser::GrammarLex;
using parser::GrammarTables;
using parser::ParseEvent;
using parser::SSException;
using parser::SSLexFileInput;

constexpr const char* kTokensHelp =
    "Usage: tessel tokens GRAMMAR FILE [--all]\n"
    "Lists the tokens the lexer of GRAMMAR hands to the parser for FILE, one a\n"
    "line: line, column, token number, name and text, separated by tabs (in the\n"
    "text, backslash, tab, CR and LF are written as \\\\ \\t \\r \\n).\n"
    "  --all       list the ignored tokens too, their name preceded by\n"
    "              \"(ignored) \"\n"
    "  -h, --help  show this help\n";

constexpr const char* kParseHelp =
    "Usage: tessel parse GRAMMAR FILE\n"
    "Parses FILE with GRAMMAR and lists the reductions (\"reduce N\", N the\n"
    "production number) and each syntax error with the text found and the\n"
    "tokens expected, then \"accepted\" or \"accepted after syntax errors\".\n"
    "  -h, --help  show this help\n";

void printGrammars(std::ostream& out) {
    out << "GRAMMAR is one of:";
    for (const auto& grammar : resources::grammarCatalog()) out << " " << grammar.key;
    out << ".\n";
}

struct Arguments {
    const resources::GrammarDescription* grammar = nullptr;
    std::string file;
    bool all = false;
};

// Reads GRAMMAR FILE [--all]; returns -1 when the arguments are fine, else
// the exit status to end with.
int readArguments(const char* command, const char* help, bool allowAll,
                  const std::vector<std::string>& args, Arguments& result, std::ostream& out,
                  std::ostream& err) {
    std::vector<std::string> positional;
    for (const auto& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << help;
            printGrammars(out);
            return kExitSuccess;
        }
        if (allowAll && arg == "--all") {
            result.all = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError(err, std::string(command) + ": unknown option " + arg,
                              std::string("tessel ") + command);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) {
        return usageError(err, std::string(command) + ": expected GRAMMAR and FILE",
                          std::string("tessel ") + command);
    }
    result.grammar = resources::findGrammar(positional[0]);
    if (result.grammar == nullptr) {
        return usageError(err, std::string(command) + ": unknown grammar \"" + positional[0] + "\"",
                          std::string("tessel ") + command);
    }
    result.file = positional[1];
    return -1;
}

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

int tokensCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a;
    if (int status = readArguments("tokens", kTokensHelp, true, args, a, out, err); status >= 0)
        return status;
    try {
        GrammarTables tables = GrammarTables::load(*a.grammar);
        SSLexFileInput input(a.file);
        GrammarLex lex(*a.grammar, input, tables.lex);
        lex.setKeepIgnored(a.all);
        while (auto token = lex.nextToken()) {
            std::string_view name = lex.tokenName(token->tokenNumber());
            out << token->line() << '\t' << token->offset() << '\t' << token->tokenNumber() << '\t'
                << (lex.lastTokenIgnored() ? "(ignored) " : "") << name << '\t'
                << escaped(token->textView()) << '\n';
        }
    } catch (const SSException& e) {
        err << "tessel tokens: " << e.message() << "\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

int parseCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a;
    if (int status = readArguments("parse", kParseHelp, false, args, a, out, err); status >= 0)
        return status;
    auto report = [&out](const ParseEvent& event) {
        switch (event.kind) {
            case ParseEvent::Kind::Reduction:
                out << "reduce " << event.production << "\n";
                break;
            case ParseEvent::Kind::SyntaxError:
                out << event.line << ":" << event.column << ": " << event.message << "\n";
                break;
            case ParseEvent::Kind::RecoveryFailed:
                out << event.line << ":" << event.column << ": " << event.message
                    << "\nFailed to recover!\n";
                break;
        }
    };
    try {
        GrammarTables tables = GrammarTables::load(*a.grammar);
        SSLexFileInput input(a.file);
        GrammarLex lex(*a.grammar, input, tables.lex);
        parser::TracingParser parser(lex, tables.yacc, report);
        int result = parser.parse();
        if (parser.syntaxErrors() == 0 && result == 0) {
            out << "accepted\n";
            return kExitSuccess;
        }
        out << "accepted after syntax errors\n";
        return kExitFailure;
    } catch (const SSException& e) {
        err << "tessel parse: " << e.message() << "\n";
        return kExitFailure;
    }
}

}  // namespace tessel::cli
