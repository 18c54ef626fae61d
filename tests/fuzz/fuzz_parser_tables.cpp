// Arbitrary bytes as a lexer table and as a parser table: loading must either
// succeed or throw SSException. A lexer table that loads scans a fixed text;
// a parser table that loads parses it with a fixed, valid lexer table.
#include <cstddef>
#include <cstdint>
#include <span>

#include "parser/ss_lex.h"
#include "parser/ss_lex_memory_input.h"
#include "parser/ss_yacc.h"
#include "parser/table_builder.h"

namespace {

using namespace tessel::parser;

constexpr std::string_view kText = "<PMTags 1.0 win>ab <c d=\"e\">\n\xE0\x40 x<*INDEX \"i\">\n\x82";

class FuzzParser : public SSYacc {
  public:
    SSRefPtr<SSYaccStackItem> reduce(std::uint32_t, std::uint32_t length) override {
        // Bounds the time one input may take; the runtime's own guards end
        // real loops, but only after many steps for large tables.
        if (++reductions_ > 20000) setStop(true);
        // Reading the right side exercises the stack bounds.
        for (std::uint32_t i = 0; i < length; ++i)
            elementFromProduction(static_cast<std::int32_t>(i));
        return SSRefPtr<SSYaccStackItem>(newStackItem());
    }

  private:
    int reductions_ = 0;
};

const tessel::test::Bytes& fixedLexTable() {
    static const tessel::test::Bytes image = [] {
        tessel::test::LexListBuilder list;
        list.bofIgnored();
        list.run('a', 'z', tessel::test::token(1));
        list.single('<', '<', tessel::test::token(2));
        list.single('>', '>', tessel::test::token(3));
        list.single(0, 255, tessel::test::token(4));
        return tessel::test::lexTableBytes({list});
    }();
    return image;
}

void scanWith(std::span<const std::uint8_t> bytes) {
    try {
        auto tables = SSLexTableSet::fromImage(bytes, "FuzzLexTable");
        SSLexMemoryInput input(kText);
        SSLex lex(input, tables);
        for (int i = 0; i < 256 && lex.nextToken(); ++i) {
        }
    } catch (const SSException&) {
    }
}

void parseWith(std::span<const std::uint8_t> bytes) {
    try {
        auto table = SSYaccTableSet::fromImage(bytes, "FuzzYaccTable");
        auto tables = SSLexTableSet::fromImage(fixedLexTable(), "FixedLexTable");
        SSLexMemoryInput input(kText);
        SSLex lex(input, tables);
        FuzzParser parser;
        parser.setTable(table);
        parser.setLex(lex);
        parser.parse();
        if (table.stateCount() > 0) parser.expectedTokens(0);
    } catch (const SSException&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> bytes(data, size);
    scanWith(bytes);
    parseWith(bytes);
    return 0;
}
