// Build-time grammar compiler: reads the grammar files named on the command
// line and writes one C++ source with their lexer and parser tables.
//
//   grammar_compiler --output FILE.cpp [--summary] GRAMMAR...
//
// Errors are printed as "file:line: message" and make the program exit 1.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "compiled_grammar.h"
#include "grammar_error.h"

namespace {

bool readFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

void printSummary(const tessel::grammar::CompiledGrammar& g) {
    std::size_t lexStates = 0;
    for (const auto& list : g.lists) lexStates += list.states.size();
    std::cout << g.grammar.key << ": " << g.lists.size() << " expression lists, " << lexStates
              << " lexer states, " << g.lexTable.size() << " bytes LEXTABLE; "
              << g.parser.rows.size() << " parser states, " << g.grammar.productions.size()
              << " productions, " << g.yaccTable.size() << " bytes YACCTABLE\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::string output;
    bool summary = false;
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--output" && i + 1 < argc) {
            output = argv[++i];
        } else if (arg == "--summary") {
            summary = true;
        } else {
            inputs.push_back(arg);
        }
    }
    if (output.empty() || inputs.empty()) {
        std::cerr << "usage: grammar_compiler --output FILE.cpp [--summary] GRAMMAR...\n";
        return 2;
    }
    std::vector<tessel::grammar::CompiledGrammar> compiled;
    for (const auto& path : inputs) {
        std::string text;
        if (!readFile(path, text)) {
            std::cerr << path << ": cannot read the file\n";
            return 1;
        }
        try {
            compiled.push_back(tessel::grammar::compileGrammar(text, path));
        } catch (const tessel::grammar::GrammarError& error) {
            std::cerr << path << ":" << error.line() << ": " << error.what() << "\n";
            return 1;
        }
        if (summary) printSummary(compiled.back());
    }
    if (!writeFile(output, tessel::grammar::generateResourceSource(compiled))) {
        std::cerr << output << ": cannot write the file\n";
        return 1;
    }
    return 0;
}
