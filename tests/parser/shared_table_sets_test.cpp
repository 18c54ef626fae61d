// The grammar tables converters share: one load per resource for the whole
// process, whatever the case of the name, equal to a fresh load, and a
// missing resource refused each time without being kept.
#include <gtest/gtest.h>

#include "parser/ss_lex_table_set.h"
#include "parser/ss_yacc_table_set.h"
#include "runtime_test_support.h"

namespace tessel::test {
namespace {

using parser::SSLexTableSet;
using parser::SSYaccTableSet;

TEST(SharedTableSets, OneLoadPerResourceEqualToAFreshOne) {
    const SSLexTableSet& lex = SSLexTableSet::shared("VenturaLexTable");
    EXPECT_EQ(&SSLexTableSet::shared("venturalextable", "lextable"), &lex);
    EXPECT_NE(&SSLexTableSet::shared("Ventura4LexTable"), &lex);
    SSLexTableSet fresh = SSLexTableSet::fromResource("VenturaLexTable");
    ASSERT_EQ(lex.expressionListCount(), fresh.expressionListCount());
    for (std::size_t i = 0; i < fresh.expressionListCount(); ++i) {
        EXPECT_EQ(lex.expressionList(i).stateCount(), fresh.expressionList(i).stateCount());
    }

    const SSYaccTableSet& yacc = SSYaccTableSet::shared("XPressYaccTable");
    EXPECT_EQ(&SSYaccTableSet::shared("XPRESSYACCTABLE", "YaccTable"), &yacc);
    EXPECT_NE(&SSYaccTableSet::shared("PageMakerYaccTable"), &yacc);
    SSYaccTableSet freshYacc = SSYaccTableSet::fromResource("XPressYaccTable");
    EXPECT_EQ(yacc.stateCount(), freshYacc.stateCount());
    EXPECT_EQ(yacc.productionCount(), freshYacc.productionCount());
}

TEST(SharedTableSets, MissingResourcesAreRefusedEveryTime) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(expectSSError([] { SSLexTableSet::shared("NoSuchLexTable"); }, 36),
                  "SSLex0108e: Resource not found, NoSuchLexTable");
        EXPECT_EQ(expectSSError([] { SSYaccTableSet::shared("NoSuchYaccTable"); }, 37),
                  "SSYacc0115e: Resource not found, NoSuchYaccTable");
    }
    // A resource of another type is not found under its name either.
    expectSSError([] { SSLexTableSet::shared("VenturaYaccTable"); }, 36);
}

}  // namespace
}  // namespace tessel::test
