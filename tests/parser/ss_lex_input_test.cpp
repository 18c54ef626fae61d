// Character input: files in text mode, empty and missing files, partial
// buffering, double-byte characters of the active code page.
#include <gtest/gtest.h>

#include "parser/ss_lex.h"
#include "parser/ss_lex_file_input.h"
#include "parser/ss_lex_memory_input.h"
#include "runtime_test_support.h"
#include "table_builder.h"

namespace tessel::test {
namespace {

using parser::SSLex;
using parser::SSLexFileInput;
using parser::SSLexInput;
using parser::SSLexMemoryInput;
using parser::SSLexTableSet;

// Words (token 1), capitals (8), spaces ignored, LF (3).
SSLexTableSet wordTable() {
    LexListBuilder list;
    list.bofIgnored();
    list.run('a', 'z', token(1));
    list.run('A', 'Z', token(8));
    list.single(' ', ' ', ignored(2));
    list.single('\n', '\n', token(3));
    return SSLexTableSet::fromImage(lexTableBytes({list}), "WordLexTable");
}

struct Record {
    Lexeme lexeme;
    std::uint32_t streamOffset;
    bool operator==(const Record&) const = default;
};

std::vector<Record> scanFile(const std::string& path,
                             std::size_t bufferSize = SSLexFileInput::kWholeFile,
                             std::size_t increment = 0) {
    auto tables = wordTable();
    SSLexFileInput input(path, SSLexInput::Multibyte, bufferSize, increment);
    SSLex lex(input, tables);
    std::vector<Record> out;
    while (auto t = lex.nextToken()) {
        out.push_back({{t->tokenNumber(), std::string(t->textView()), t->line(), t->offset()},
                       t->streamOffset()});
    }
    return out;
}

TEST(SSLexFileInput, CarriageReturnLineFeedArrivesAsLineFeed) {
    TempDir dir;
    auto crlf = scanFile(dir.write("crlf.txt", "ab cd\r\nEF\r\n\r\nx"));
    auto lf = scanFile(dir.write("lf.txt", "ab cd\nEF\n\nx"));
    EXPECT_EQ(crlf, lf);
    ASSERT_EQ(lf.size(), 7u);
    EXPECT_EQ(lf.back(), (Record{{1, "x", 4, 1}, 10}));
}

TEST(SSLexFileInput, CtrlZEndsTheData) {
    TempDir dir;
    auto records = scanFile(dir.write("z.txt", "ab\x1a cd"));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].lexeme.text, "ab");
}

TEST(SSLexFileInput, EmptyAndMissingFiles) {
    TempDir dir;
    std::string empty = dir.write("empty.txt", "");
    EXPECT_EQ(expectSSError([&] { SSLexFileInput input(empty); }, 2),
              "SSLex0102e: Invalid file length or read error, " + empty + ", 0");
    std::string missing = dir.file("missing.txt");
    EXPECT_EQ(expectSSError([&] { SSLexFileInput input(missing); }, 1),
              "SSLex0101e: Error opening file, " + missing + ", 2");
    expectSSError([&] { SSLex lex(missing); }, 1);
}

TEST(SSLexFileInput, LexerOwnsTheInputItOpens) {
    TempDir dir;
    auto tables = wordTable();
    SSLex lex(dir.write("own.txt", "one TWO"));
    lex.setTableSet(tables);
    EXPECT_EQ(scanAll(lex), (std::vector<Lexeme>{{1, "one", 1, 1}, {8, "TWO", 1, 5}}));
}

TEST(SSLexFileInput, SmallBufferRefillsAndKeepsPositions) {
    TempDir dir;
    std::string path = dir.write("small.txt", "ab cd\r\nEF ghijklmnop\r\nx yz\r\n");
    auto whole = scanFile(path);
    EXPECT_EQ(scanFile(path, 4, 4), whole);
    EXPECT_EQ(scanFile(path, 16, 1), whole);
}

TEST(SSLexFileInput, LexemeLongerThanAFixedBuffer) {
    TempDir dir;
    std::string path = dir.write("long.txt", "abcdefgh ij");
    EXPECT_EQ(expectSSError([&] { scanFile(path, 4, 0); }, 3), "SSLex0103e: Lexeme too long, 4");
    EXPECT_EQ(scanFile(path, 10, 0).size(), 2u);
}

TEST(SSLexLeadBytes, DoubleByteCharacterIsOneCharacterOfTwoColumns) {
    ScopedEnv acp("TESSEL_ACP", "932");
    LexListBuilder list;
    list.bofIgnored();
    list.single(0xA082, 0xA082, token(20));  // lead 0x82 in the low byte, trail 0xA0
    list.single(0x80, 0xFF, token(21));
    list.run('a', 'z', token(1));
    list.single('\n', '\n', token(3));
    auto tables = SSLexTableSet::fromImage(lexTableBytes({list}), "T");
    SSLexMemoryInput input("\x82\xA0x\n\xA0\x82");
    SSLex lex(input, tables);
    EXPECT_EQ(scanAll(lex), (std::vector<Lexeme>{{20, "\x82\xA0", 1, 1},
                                                 {1, "x", 1, 3},
                                                 {3, "\n", 1, 4},
                                                 {21, "\xA0", 2, 1},
                                                 {21, "\x82", 2, 2}}));
}

TEST(SSLexLeadBytes, SingleByteCodePageKeepsBytesApart) {
    ScopedEnv acp("TESSEL_ACP", "1252");
    LexListBuilder list;
    list.bofIgnored();
    list.single(0x80, 0xFF, token(21));
    auto tables = SSLexTableSet::fromImage(lexTableBytes({list}), "T");
    SSLexMemoryInput input("\x82\xA0");
    SSLex lex(input, tables);
    EXPECT_EQ(scanAll(lex), (std::vector<Lexeme>{{21, "\x82", 1, 1}, {21, "\xA0", 1, 2}}));
}

TEST(SSLexLeadBytes, LeadByteAtTheEndOfAFileReadsNothingBehindIt) {
    ScopedEnv acp("TESSEL_ACP", "932");
    LexListBuilder list;
    list.bofIgnored();
    list.single(0x80, 0xFF, token(21));
    list.single(0x100, 0xFFFF, token(20));
    auto tables = SSLexTableSet::fromImage(lexTableBytes({list}), "T");
    TempDir dir;
    SSLexFileInput input(dir.write("lead.txt", "\x82\xA0\x82"));
    SSLex lex(input, tables);
    EXPECT_EQ(scanAll(lex), (std::vector<Lexeme>{{20, "\x82\xA0", 1, 1}, {21, "\x82", 1, 3}}));
}

TEST(SSLexInputKinds, SixteenBitUnitsWithByteOrderMark) {
    LexListBuilder list;
    list.bofIgnored();
    list.run('a', 'z', token(1));
    list.single('\n', '\n', token(3));
    auto tables = SSLexTableSet::fromImage(lexTableBytes({list}), "T");
    SSLexMemoryInput big(std::string("\xFE\xFF\0a\0b\0\n\0c", 10), SSLexInput::Unicode16);
    SSLex lex(big, tables);
    auto ab = lex.nextToken();
    ASSERT_TRUE(ab);
    EXPECT_EQ(ab->length(), 4u);
    EXPECT_FALSE(ab->isSingleByte());
    EXPECT_EQ(ab->offset(), 1);
    lex.nextToken();
    auto c = lex.nextToken();
    ASSERT_TRUE(c);
    EXPECT_EQ(c->line(), 2);
    EXPECT_EQ(c->streamOffset(), 8u);
}

}  // namespace
}  // namespace tessel::test
