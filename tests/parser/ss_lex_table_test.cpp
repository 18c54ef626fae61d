// Loading lexer tables: resources, magic numbers, damaged images (which must
// be rejected without reading outside them) and keyword tables.
#include <gtest/gtest.h>

#include "parser/ss_lex.h"
#include "parser/ss_lex_memory_input.h"
#include "runtime_test_support.h"
#include "table_builder.h"

namespace tessel::test {
namespace {

using parser::SSException;
using parser::SSLex;
using parser::SSLexMemoryInput;
using parser::SSLexTableSet;

Bytes sampleImage() {
    LexListBuilder first;
    first.bofIgnored();
    first.run('a', 'z', token(1, Keyword));
    first.single(' ', ' ', ignored(2));
    first.literal("<*INDEX", token(6, Push, 1));
    first.literal("<", token(4));
    LexListBuilder second;
    second.single('>', '>', token(16, Pop));
    second.single(0, '=', ignored(13));
    return lexTableBytes({first, second}, {keywordTableBytes({{"if", 30}})});
}

// Loads `image`; when that works, scans a fixed text. Either may throw an
// SSException; nothing else may go wrong.
void loadAndScan(const Bytes& image) {
    try {
        auto tables = SSLexTableSet::fromImage(image, "Damaged");
        SSLexMemoryInput input("if x <*INDEX abc> y\n");
        SSLex lex(input, tables);
        for (int i = 0; i < 64 && lex.nextToken(); ++i) {
        }
    } catch (const SSException&) {
    }
}

TEST(SSLexTableLoading, ValidImageLoadsWithItsListsAndKeywordTables) {
    auto tables = SSLexTableSet::fromImage(sampleImage(), "Sample");
    EXPECT_EQ(tables.expressionListCount(), 2u);
    EXPECT_EQ(tables.keywordTableCount(), 1u);
    EXPECT_EQ(tables.expressionList(0).accept(0).tokenNumber, 0);
    EXPECT_EQ(expectSSError([&] { tables.expressionList(2); }, 6),
              "SSLex0106e: Invalid expression list index, 2");
}

TEST(SSLexTableLoading, AlternativeMagicNumbersAreAccepted) {
    Bytes image = sampleImage();
    setU32(image, 4, 0);   // header magic 0
    setU32(image, 36, 1);  // first block magic 1
    EXPECT_NO_THROW(SSLexTableSet::fromImage(image, "Zero"));
}

TEST(SSLexTableLoading, BadMagicIsAnInvalidTable) {
    Bytes header = sampleImage();
    header[4] = 'Y';
    EXPECT_EQ(expectSSError([&] { SSLexTableSet::fromImage(header, "Broken"); }, 4),
              "SSLex0104e: Invalid table, Broken");
    Bytes block = sampleImage();
    setU32(block, 36, 7);
    expectSSError([&] { SSLexTableSet::fromImage(block, "Broken"); }, 4);
}

TEST(SSLexTableLoading, MissingResource) {
    EXPECT_EQ(expectSSError([] { SSLexTableSet::fromResource("NoSuchLexTable"); }, 36),
              "SSLex0108e: Resource not found, NoSuchLexTable");
}

TEST(SSLexTableLoading, DamagedOffsetsAndCountsAreRejected) {
    const Bytes good = sampleImage();
    const std::size_t block = 36;
    struct Damage {
        std::size_t at;
        std::uint32_t value;
    };
    for (Damage damage : {Damage{0, 1000000},              // list count
                          Damage{8, 0xFFFFFFFF},           // keyword table count
                          Damage{block + 4, 0xFFFFFFF0},   // block size
                          Damage{block + 4, 10},           // block smaller than its header
                          Damage{block + 40, 0x10000000},  // state count
                          Damage{block + 40, 0},           // no start state
                          Damage{block + 48, 0xFFFFFFFC},  // row-offset array
                          Damage{block + 52, 0xFFFFFFF0}}) {
        Bytes image = good;
        setU32(image, damage.at, damage.value);
        expectSSError([&] { SSLexTableSet::fromImage(image, "Damaged"); }, 4);
    }
}

TEST(SSLexTableLoading, RowOffsetsOfAllOnesAreRejected) {
    // 0xFFFFFFFF is also the "no state" marker; it must not pass as a row
    // that was already checked.
    Bytes image = sampleImage();
    const std::size_t block = 36;
    auto u32 = [&](std::size_t at) {
        return std::uint32_t{image[at]} | std::uint32_t{image[at + 1]} << 8 |
               std::uint32_t{image[at + 2]} << 16 | std::uint32_t{image[at + 3]} << 24;
    };
    std::uint32_t states = u32(block + 40);
    std::uint32_t rows = u32(block + 48);
    for (std::uint32_t s = 0; s < states; ++s) setU32(image, block + rows + s * 4, 0xFFFFFFFF);
    expectSSError([&] { SSLexTableSet::fromImage(image, "Damaged"); }, 4);
}

TEST(SSLexTableLoading, TransitionToMissingStateIsRejected) {
    LexListBuilder list;
    list.bofIgnored();
    list.addChar(0, 'a', 99);
    expectSSError([&] { SSLexTableSet::fromImage(lexTableBytes({list}), "Damaged"); }, 4);
}

// The scanner follows push and switch entries without looking their lists up
// again, so a target the image lacks is refused while loading, with the
// index the scan would have reported.
TEST(SSLexTableLoading, PushOrSwitchToMissingListIsRejectedWithItsIndex) {
    for (std::uint32_t flag : {std::uint32_t{Push}, std::uint32_t{Switch}}) {
        for (bool ignoredMatch : {false, true}) {
            LexListBuilder first;
            first.bofIgnored();
            first.single('a', 'a', ignoredMatch ? ignored(1, flag, 2) : token(1, flag, 2));
            LexListBuilder second;
            second.single('b', 'b', token(2, Pop));
            auto load = [&] { SSLexTableSet::fromImage(lexTableBytes({first, second}), "Lists"); };
            EXPECT_EQ(expectSSError(load, 6), "SSLex0106e: Invalid expression list index, 2");
        }
    }
    LexListBuilder last;
    last.bofIgnored();
    last.single('a', 'a', token(1, Switch, 1));
    LexListBuilder target;
    target.single('b', 'b', token(2));
    EXPECT_NO_THROW(SSLexTableSet::fromImage(lexTableBytes({last, target}), "Lists"));
}

TEST(SSLexTableLoading, EveryTruncationIsRejected) {
    const Bytes good = sampleImage();
    for (std::size_t length = 0; length < good.size(); ++length) {
        Bytes image(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
        expectSSError([&] { SSLexTableSet::fromImage(image, "Short"); }, 4);
    }
}

TEST(SSLexTableLoading, CorruptedBytesNeverReadOutsideTheImage) {
    const Bytes good = sampleImage();
    for (std::size_t at = 0; at < good.size(); ++at) {
        for (std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0x7F}, std::uint8_t{0xFF}}) {
            Bytes image = good;
            image[at] = value;
            loadAndScan(image);
        }
    }
}

TEST(SSLexKeywords, KeywordTableTurnsWordsIntoKeywordTokens) {
    LexListBuilder list;
    list.bofIgnored();
    std::uint32_t word = list.addState(token(1, Keyword));
    list.addRange(0, 'A', 'Z', word);
    list.addRange(0, 'a', 'z', word);
    list.addRange(word, 'A', 'Z', word);
    list.addRange(word, 'a', 'z', word);
    list.single(' ', ' ', ignored(2));
    auto keywords = keywordTableBytes(
        {{"if", 30, 40}, {"else", 31}, {"then", 32, 0, true}, {"do", 33}, {"while", 34}});
    auto tables = SSLexTableSet::fromImage(lexTableBytes({list}, {keywords}), "Keywords");
    SSLexMemoryInput input("if x THEN tHEN else Else do while whilst a");
    SSLex lex(input, tables);
    std::vector<std::pair<std::int32_t, std::int32_t>> numbers;
    while (auto t = lex.nextToken()) numbers.emplace_back(t->tokenNumber(), t->parserSymbol());
    EXPECT_EQ(numbers, (std::vector<std::pair<std::int32_t, std::int32_t>>{{30, 40},
                                                                           {1, 1},
                                                                           {1, 1},
                                                                           {32, 32},
                                                                           {31, 31},
                                                                           {1, 1},
                                                                           {33, 33},
                                                                           {34, 34},
                                                                           {1, 1},
                                                                           {1, 1}}));
}

TEST(SSLexKeywords, MissingKeywordTable) {
    LexListBuilder list;
    list.bofIgnored();
    AcceptSpec accept = token(1, Keyword);
    accept.keywordTable = 3;
    list.run('a', 'z', accept);
    auto tables = SSLexTableSet::fromImage(lexTableBytes({list}), "Keywords");
    SSLexMemoryInput input("abc");
    SSLex lex(input, tables);
    EXPECT_EQ(expectSSError([&] { lex.nextToken(); }, 44), "SSLex0110e: Invalid keyword index, 3");
}

TEST(SSLexKeywords, KeywordTextMustEndInsideTheTable) {
    Bytes keywords = keywordTableBytes({{"if", 30}});
    keywords.pop_back();  // drop the terminating zero
    setU32(keywords, 0, static_cast<std::uint32_t>(keywords.size()));
    LexListBuilder list;
    list.bofIgnored();
    expectSSError([&] { SSLexTableSet::fromImage(lexTableBytes({list}, {keywords}), "K"); }, 4);
}

}  // namespace
}  // namespace tessel::test
