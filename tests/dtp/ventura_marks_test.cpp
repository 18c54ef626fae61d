// A Ventura reduction's result keeps no range of its own, so every position
// an action marks must hold a terminal, whose item takes its range from its
// token. Checked against both grammars as the build compiles them.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "dtp/ventura_parser.h"
#include "grammar.h"

namespace tessel::dtp {
namespace {

grammar::Grammar readGrammarFile(const std::string& name) {
    std::string path = std::string(TESSEL_SOURCE_DIR) + "/lib/resources/grammars/" + name;
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return grammar::readGrammar(text.str(), path);
}

TEST(VenturaMarks, EveryMarkedPositionHoldsATerminal) {
    const std::pair<const char*, const VenturaGrammar*> grammars[] = {
        {"ventura.grammar", &kVentura567Grammar}, {"ventura4.grammar", &kVentura4Grammar}};
    for (const auto& [file, ventura] : grammars) {
        SCOPED_TRACE(file);
        grammar::Grammar source = readGrammarFile(file);
        // Production 0 is the added start production; the table has a row
        // for each number.
        ASSERT_EQ(source.productions.size(), ventura->actions.size());
        int marks = 0;
        for (std::size_t production = 1; production < source.productions.size(); ++production) {
            const std::vector<int>& right = source.productions[production].right;
            for (const VenturaMark& mark : venturaMarks(ventura->actions[production])) {
                SCOPED_TRACE("production " + std::to_string(production));
                ASSERT_LE(mark.first, mark.last);
                ASSERT_LT(static_cast<std::size_t>(mark.last), right.size());
                EXPECT_FALSE(grammar::isNonterminal(right[mark.first]));
                EXPECT_FALSE(grammar::isNonterminal(right[mark.last]));
                ++marks;
            }
        }
        // Eleven productions with actions; a code with an argument marks twice.
        EXPECT_EQ(marks, 12);
    }
}

}  // namespace
}  // namespace tessel::dtp
