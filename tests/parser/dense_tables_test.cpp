// The lookup tables built at load time for speed: the lexer's per-state byte
// table and the parser's per-state symbol tables must give exactly what
// scanning the rows gives, for the five grammars and for rows a generator
// would not write (overlapping, unsorted, symbols too far apart to lay out).
// The scanner's direct byte loop must give the same tokens as the
// character-at-a-time path that refills and moves the buffer, also where it
// passes a run of bytes in one step.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>

#include "parser/grammar_trace.h"
#include "parser/ss_exception.h"
#include "parser/ss_lex_file_input.h"
#include "runtime_test_support.h"
#include "support/grammar_samples.h"
#include "table_builder.h"

namespace tessel::test {
namespace {

using parser::GrammarLex;
using parser::GrammarTables;
using parser::kSSLexNoState;
using parser::kSSYaccNoGoto;
using parser::SSLexExpressionList;
using parser::SSLexFileInput;
using parser::SSLexInput;
using parser::SSLexTableSet;
using parser::SSYaccTableSet;

constexpr const char* kGrammars[] = {"pagemaker", "quark", "htmlcharset", "ventura4", "ventura"};

const resources::GrammarDescription& grammar(const char* key) {
    return *resources::findGrammar(key);
}

// Every state and byte: the dense entry, its accepting and run marks and the
// row scan.
void expectDenseMatchesScan(const SSLexExpressionList& list, const std::string& what) {
    const std::uint32_t* dense = list.denseTable();
    for (std::uint32_t state = 0; state < list.stateCount(); ++state) {
        for (std::uint32_t byte = 0; byte < 256; ++byte) {
            std::uint32_t scanned = list.scanRow(state, byte);
            ASSERT_EQ(list.nextByte(state, byte), scanned)
                << what << " state " << state << " byte " << byte;
            ASSERT_EQ(list.next(state, byte), scanned);
            std::uint32_t entry = dense[state * SSLexExpressionList::kDenseWidth + byte];
            bool accepting =
                scanned != kSSLexNoState && (list.accept(scanned).flags & parser::kSSLexFlagAccept);
            if (scanned != kSSLexNoState) {
                ASSERT_EQ((entry & SSLexExpressionList::kDenseAccepting) != 0, accepting)
                    << what << " state " << state << " byte " << byte;
                bool run = list.runStates()[scanned].stopCount != SSLexExpressionList::kNotARun;
                ASSERT_EQ((entry & SSLexExpressionList::kDenseRun) != 0, run)
                    << what << " state " << state << " byte " << byte;
            }
        }
    }
}

// The stop bytes of a run state are exactly the bytes that leave it.
void expectRunStatesMatchTheTable(const SSLexExpressionList& list, const std::string& what) {
    const std::uint32_t* dense = list.denseTable();
    for (std::uint32_t state = 0; state < list.stateCount(); ++state) {
        std::vector<std::uint8_t> leaving;
        for (std::uint32_t byte = 0; byte < 256; ++byte) {
            std::uint32_t entry = dense[state * SSLexExpressionList::kDenseWidth + byte];
            if (entry == kSSLexNoState || (entry & SSLexExpressionList::kDenseStateMask) != state) {
                leaving.push_back(static_cast<std::uint8_t>(byte));
            }
        }
        const SSLexExpressionList::RunState& run = list.runStates()[state];
        if (leaving.size() > SSLexExpressionList::kMaxRunStops) {
            EXPECT_EQ(run.stopCount, SSLexExpressionList::kNotARun) << what << " state " << state;
            continue;
        }
        ASSERT_EQ(run.stopCount, leaving.size()) << what << " state " << state;
        bool lineFeedLeaves = std::find(leaving.begin(), leaving.end(), '\n') != leaving.end();
        EXPECT_EQ(run.holdsLineFeeds, !lineFeedLeaves) << what << " state " << state;
        EXPECT_TRUE(std::equal(leaving.begin(), leaving.end(), run.stops.begin()))
            << what << " state " << state;
    }
}

TEST(DenseLexTable, RunStatesOfTheGrammars) {
    std::set<std::vector<std::uint8_t>> stopSets;
    for (const char* key : kGrammars) {
        GrammarTables tables = GrammarTables::load(grammar(key));
        for (std::size_t i = 0; i < tables.lex.expressionListCount(); ++i) {
            const SSLexExpressionList& list = tables.lex.expressionList(i);
            expectRunStatesMatchTheTable(list, std::string(key) + " list " + std::to_string(i));
            for (std::uint32_t state = 0; state < list.stateCount(); ++state) {
                const auto& run = list.runStates()[state];
                if (run.stopCount == SSLexExpressionList::kNotARun) continue;
                stopSets.insert({run.stops.begin(), run.stops.begin() + run.stopCount});
            }
        }
    }
    // HTML body text stops at "<", PageMaker text also at a backslash, a
    // comment at "-".
    EXPECT_TRUE(stopSets.count({'<'}));
    EXPECT_TRUE(stopSets.count({'<', '\\'}));
    EXPECT_TRUE(stopSets.count({'-'}));
}

TEST(DenseLexTable, AgreesWithTheRowScanForEveryStateAndByteOfTheGrammars) {
    for (const char* key : kGrammars) {
        GrammarTables tables = GrammarTables::load(grammar(key));
        ASSERT_GT(tables.lex.expressionListCount(), 0u);
        for (std::size_t i = 0; i < tables.lex.expressionListCount(); ++i) {
            expectDenseMatchesScan(tables.lex.expressionList(i),
                                   std::string(key) + " list " + std::to_string(i));
        }
    }
}

// Swaps the first two triples of state 0's row in a one-list image.
void swapFirstTriples(Bytes& image) {
    const std::size_t block = SSLexTableSet::kHeaderSize;
    auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(image[at] | image[at + 1] << 8 | image[at + 2] << 16 |
                                          image[at + 3] << 24);
    };
    std::size_t rowOffsets = block + u32(block + 48);
    std::size_t row = block + u32(rowOffsets);
    ASSERT_GE(u32(row), 2u);
    std::swap_ranges(image.begin() + static_cast<long>(row + 4),
                     image.begin() + static_cast<long>(row + 16),
                     image.begin() + static_cast<long>(row + 16));
}

TEST(DenseLexTable, OverlappingAndUnsortedRangesFollowTheScanOrder) {
    LexListBuilder list;
    list.bofIgnored();
    std::uint32_t wide = list.single(0x20, 0x7F, token(1));
    std::uint32_t capitals = list.single('A', 'Z', token(2));
    std::uint32_t high = list.single(0xC0, 0x1FF, token(3));
    list.addRange(wide, 'a', 'z', capitals);
    Bytes sorted = lexTableBytes({list});
    auto inOrder = SSLexTableSet::fromImage(sorted, "Sorted");
    const auto& first = inOrder.expressionList(0);
    expectDenseMatchesScan(first, "sorted");
    EXPECT_EQ(first.nextByte(0, 'B'), wide);  // the earlier, wider range wins
    EXPECT_EQ(first.nextByte(0, 0xC5), high);
    EXPECT_EQ(first.nextByte(0, 0x10), kSSLexNoState);

    // With a range starting at 'A' placed before the one starting at 0x20,
    // the scan stops there for every byte below 'A'.
    Bytes unsorted = sorted;
    swapFirstTriples(unsorted);
    auto outOfOrder = SSLexTableSet::fromImage(unsorted, "Unsorted");
    const auto& second = outOfOrder.expressionList(0);
    expectDenseMatchesScan(second, "unsorted");
    EXPECT_EQ(second.nextByte(0, '0'), kSSLexNoState);
    EXPECT_EQ(second.nextByte(0, 'B'), capitals);
}

// Every state and every symbol around the table's range.
void expectYaccDenseMatchesScan(const SSYaccTableSet& table, const std::string& what) {
    std::set<std::int32_t> symbols = {INT32_MIN, INT32_MAX, -3, 0, 0x4000};
    for (std::uint32_t state = 0; state < table.stateCount(); ++state) {
        for (const auto& entries : {table.row(state).actions, table.row(state).gotos}) {
            for (const auto& entry : entries) {
                for (int delta = -2; delta <= 2; ++delta) symbols.insert(entry.symbol + delta);
            }
        }
    }
    for (std::uint32_t state = 0; state < table.stateCount(); ++state) {
        for (std::int32_t symbol : symbols) {
            ASSERT_EQ(table.actionWord(state, symbol), table.scanActions(state, symbol))
                << what << " state " << state << " symbol " << symbol;
            ASSERT_EQ(table.gotoState(state, symbol), table.scanGotos(state, symbol))
                << what << " state " << state << " symbol " << symbol;
        }
    }
}

TEST(DenseYaccTable, AgreesWithTheRowScanForEveryStateAndSymbolOfTheGrammars) {
    for (const char* key : kGrammars) {
        GrammarTables tables = GrammarTables::load(grammar(key));
        expectYaccDenseMatchesScan(tables.yacc, key);
    }
}

TEST(DenseYaccTable, FirstEntryWinsAndFarApartSymbolsAreScanned) {
    YaccTableSpec layout;
    layout.productions = {{1, 0}, {0, 0x4001}};
    layout.rows.push_back(
        {0, {{shiftTo(1), 5}, {reduceBy(1), 5}, {acceptAction(), -1}}, {{1, 0x4001}}, {}});
    layout.rows.push_back({0, {{reduceBy(0), 7}}, {{0, 0x4001}, {1, 0x4001}}, {}});
    auto near = SSYaccTableSet::fromImage(layout.bytes(), "Near");
    expectYaccDenseMatchesScan(near, "near");
    EXPECT_EQ(near.actionWord(0, 5), shiftTo(1));
    EXPECT_EQ(near.actionWord(0, 6), 0u);
    EXPECT_EQ(near.gotoState(1, 0x4001), 0u);
    EXPECT_EQ(near.gotoState(0, 0x4002), kSSYaccNoGoto);

    // Symbols tens of millions apart are not laid out; lookups still agree.
    layout.rows[1].actions.push_back({shiftTo(0), 50'000'000});
    layout.rows[1].gotos.push_back({0, 0x4001 + 40'000'000});
    auto far = SSYaccTableSet::fromImage(layout.bytes(), "Far");
    expectYaccDenseMatchesScan(far, "far");
    EXPECT_EQ(far.actionWord(1, 50'000'000), shiftTo(0));
    EXPECT_EQ(far.gotoState(1, 0x4001 + 40'000'000), 0u);
}

struct Scanned {
    std::int32_t token;
    std::string text;
    std::int32_t line, offset;
    std::uint32_t streamOffset;
    bool operator==(const Scanned&) const = default;
};

std::vector<Scanned> scanGrammar(const char* key, const std::string& path, std::size_t bufferSize,
                                 std::size_t increment) {
    GrammarTables tables = GrammarTables::load(grammar(key));
    SSLexFileInput input(path, SSLexInput::Multibyte, bufferSize, increment);
    GrammarLex lex(grammar(key), input, tables.lex);
    lex.setKeepIgnored(true);
    std::vector<Scanned> out;
    try {
        while (auto t = lex.nextToken()) {
            out.push_back({t->tokenNumber(), std::string(t->textView()), t->line(), t->offset(),
                           t->streamOffset()});
        }
    } catch (const parser::SSException& e) {
        // A character no expression takes ends the scan the same way on both paths.
        out.push_back({e.code(), e.message(), 0, 0, 0});
    }
    return out;
}

// A small buffer refills and moves its content all the time, so most
// characters go through nextChar(); the whole-file buffer takes the direct
// byte loop. Both must give the same tokens, positions and stream offsets,
// with and without lead bytes in the code page.
TEST(DirectByteLoop, GivesTheTokensOfTheCharacterAtATimePath) {
    const std::pair<const char*, const char*> samples[] = {{"pagemaker", testing::kPageMakerSample},
                                                           {"quark", testing::kQuarkSample},
                                                           {"htmlcharset", testing::kHtmlSample},
                                                           {"ventura4", testing::kVentura4Sample},
                                                           {"ventura", testing::kVenturaSample}};
    TempDir dir;
    for (const char* codePage : {"1252", "932"}) {
        ScopedEnv acp("TESSEL_ACP", codePage);
        for (const auto& [key, text] : samples) {
            std::string path = dir.write(key, std::string(text) + "\x82\xA0 \x8A\n");
            auto whole = scanGrammar(key, path, SSLexFileInput::kWholeFile, 0);
            ASSERT_GT(whole.size(), 3u) << key;
            EXPECT_EQ(scanGrammar(key, path, 96, 32), whole) << key << " cp " << codePage;
        }
    }
}

// Long stretches of text, over many lines and across buffer refills, with
// tags between them: passing runs in one step must give the tokens and
// positions of single steps. Plain ASCII, so that a code page with lead
// bytes (where runs are stepped byte by byte) scans the same characters.
TEST(DirectByteLoop, RunsGiveTheTokensOfSingleSteps) {
    std::string prose;
    for (int i = 0; i < 40; ++i) {
        prose += "words and more words, line " + std::to_string(i) + " of the text\n";
        if (i % 7 == 0) prose += "\n\t  \n";
    }
    // Line feeds at every offset of a sixteen-byte chunk, several in one.
    for (int length = 0; length < 40; ++length) prose += std::string(length % 19, 'x') + "\n";
    const std::pair<const char*, std::string> texts[] = {
        {"pagemaker", "<PMTags1.0 win>\n" + prose + "<B>" + prose + "\\<\\x" + prose},
        {"htmlcharset", "<html>" + prose + "<p title=\"" + prose + "\">" + prose + "<!--" + prose +
                            "--->" + prose + "<script>" + prose + "</script>\n" + prose + "<meta " +
                            prose + " charset=" + "x>" + prose + "</html>" + prose},
        {"quark", std::string("<v1.0><e0>\n") + prose + "<B>" + prose},
        {"ventura4", "@BODY TEXT = " + prose + "<B>" + prose},
        {"ventura", "@BODY TEXT = " + prose + "<B>" + prose},
    };
    TempDir dir;
    for (const auto& [key, text] : texts) {
        std::string path = dir.write(key, text);
        std::vector<Scanned> runs, single, refilling;
        {
            ScopedEnv acp("TESSEL_ACP", "1252");
            runs = scanGrammar(key, path, SSLexFileInput::kWholeFile, 0);
            refilling = scanGrammar(key, path, 96, 32);
        }
        {
            ScopedEnv acp("TESSEL_ACP", "932");
            single = scanGrammar(key, path, SSLexFileInput::kWholeFile, 0);
        }
        ASSERT_GT(runs.size(), 3u) << key;
        EXPECT_EQ(runs, single) << key;
        EXPECT_EQ(runs, refilling) << key;
    }
}

}  // namespace
}  // namespace tessel::test
