// HTML character entities: decoding before markup, encoding for the four
// write-back modes, and the two entity jobs of the line engine.
#include "markup/html_entities.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <string>

#include "resources/html_entity_tables.h"
#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

using tessel::markup::decodeEntitiesForMarkup;
using tessel::markup::funcCharsToHTMLEntities;
using tessel::markup::funcHTMLEntitiesToChars;

std::string decoded(std::string line, int* count = nullptr) {
    int n = funcHTMLEntitiesToChars(line);
    if (count != nullptr) *count = n;
    return line;
}

std::string encoded(std::string line, int mode, int* count = nullptr) {
    int n = funcCharsToHTMLEntities(line, mode);
    if (count != nullptr) *count = n;
    return line;
}

TEST(EntityTables, DecodingTableIsSortedAndComplete) {
    const auto& table = tessel::resources::kEntityDecodingTable;
    ASSERT_EQ(table.size(), 115u);
    for (std::size_t i = 1; i < table.size(); ++i) {
        EXPECT_LT(table[i - 1].entity, table[i].entity) << "at " << i;
    }
    // Every Latin-1 entity decodes to its own code, and encodes back to itself.
    for (int c = 0xA0; c <= 0xFF; ++c) {
        std::string entity(tessel::resources::kLatin1Entities[c - 0xA0]);
        EXPECT_EQ(decoded(entity), std::string(1, static_cast<char>(c))) << entity;
    }
}

TEST(EntitiesToChars, NamedEntitiesWithCase) {
    int count = 0;
    EXPECT_EQ(decoded("caf&eacute;", &count), "caf\xE9");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(decoded("&Eacute;"), "\xC9");
    EXPECT_EQ(decoded("&EACUTE;"), "&EACUTE;");
    EXPECT_EQ(decoded("&quot;&brkbar;&brvbar;&trade;&Yuml;"), "\"\xA6\xA6\x99\x9F");
    EXPECT_EQ(decoded("&ldquo;x&rdquo; &ndash; &mdash;"), "\x93x\x94 \x96 \x97");
}

TEST(EntitiesToChars, EveryNameDecodesAndNoNearMiss) {
    const auto& table = tessel::resources::kEntityDecodingTable;
    auto isEntry = [&](const std::string& text) {
        for (const auto& row : table) {
            if (row.entity == text) return true;
        }
        return false;
    };
    for (const auto& row : table) {
        const std::string entity(row.entity);
        EXPECT_EQ(decoded("x" + entity + "y"), "x" + std::string(1, row.character) + "y");
        // A name one letter short, one letter longer, or with its last
        // letter changed is another text, and stays unless it is a name too.
        const std::string name = entity.substr(1, entity.size() - 2);
        std::string changed = name;
        changed.back() = changed.back() == 'q' ? 'z' : 'q';
        for (const std::string& other : {"&" + name.substr(0, name.size() - 1) + ";",
                                         "&" + name + "q;", "&" + changed + ";"}) {
            if (!isEntry(other)) {
                EXPECT_EQ(decoded(other), other);
            }
        }
    }
}

TEST(EntitiesToChars, UnknownAndBasicEntitiesStay) {
    int count = -1;
    EXPECT_EQ(decoded("&amp; &lt; &gt; &nosuchname;", &count), "&amp; &lt; &gt; &nosuchname;");
    EXPECT_EQ(count, 0);
    EXPECT_EQ(decoded("&zwnj;&eacute;", &count), "&zwnj;\xE9") << "scanning goes on";
    EXPECT_EQ(count, 1);
    EXPECT_EQ(decoded("AT&T and &"), "AT&T and &");
    EXPECT_EQ(decoded("&&eacute;"), "&\xE9");
    EXPECT_EQ(decoded("&;"), "&;");
}

TEST(EntitiesToChars, NamesThatOnlyShareLengthAndFirstLowBitsStay) {
    // "!", "a" and 0xE1 (octal 341) agree in their six low bits, as do "A"
    // and 0xC1 (octal 301).
    EXPECT_EQ(decoded("&!acute;"), "&!acute;");
    EXPECT_EQ(decoded("&\341acute;"), "&\341acute;");
    EXPECT_EQ(decoded("&\301uml;&Auml;"), "&\301uml;\xC4");
    // A NUL byte in the name is not an empty byte at its end.
    const std::string withNul("&eacut\0;", 8);
    EXPECT_EQ(decoded(withNul), withNul);
    const std::string nulName("&\0;", 3);
    EXPECT_EQ(decoded(nulName), nulName);
    const std::string trailingNul("&uml\0;", 6);
    EXPECT_EQ(decoded(trailingNul), trailingNul) << "not the shorter \"&uml;\"";
    // Names longer than any entry, though they begin with one.
    EXPECT_EQ(decoded("&eacutes;&nbspnbsp;"), "&eacutes;&nbspnbsp;");
    EXPECT_EQ(decoded("&eacute"), "&eacute") << "the line ends before the semicolon";
}

TEST(EntitiesToChars, SemicolonMustFollowWithinFifteenCharacters) {
    // 14 characters between "&" and ";" is an entity candidate, 15 is not.
    EXPECT_EQ(decoded("&#0000000000233;"), "\xE9");
    EXPECT_EQ(decoded("&#00000000000233;"), "&#00000000000233;");
    EXPECT_EQ(decoded("&abcdefghijklmnop; &eacute;"), "&abcdefghijklmnop; \xE9");
}

TEST(EntitiesToChars, EntitiesNearTheEndOfTheLineAndBeforeLongText) {
    // The window after "&" and the name are read as whole words where the
    // line goes on, byte by byte near its end: the result is the same.
    const std::string tail(20, 'z');
    for (const std::string& after : {std::string(), std::string("x"), tail}) {
        EXPECT_EQ(decoded("&nbsp;" + after), "\xA0" + after);
        EXPECT_EQ(decoded("&#233;" + after), "\xE9" + after);
        EXPECT_EQ(decoded("&uml;" + after), "\xA8" + after)
            << "bytes after the name are no part of it";
        EXPECT_EQ(decoded("&;" + after), "&;" + after);
        EXPECT_EQ(decoded("&#0000000000233;" + after), "\xE9" + after);
        EXPECT_EQ(decoded("&#00000000000233;" + after), "&#00000000000233;" + after);
        EXPECT_EQ(decoded("&nbsp" + after), "&nbsp" + after);
    }
    // A ";" just past the window, with more text after it.
    EXPECT_EQ(decoded("&abcdefghijklmno;&amp;" + tail), "&abcdefghijklmno;&amp;" + tail);
    EXPECT_EQ(decoded("x&eacute;&eacute;&eacute;"), "x\xE9\xE9\xE9");
}

TEST(EntitiesToChars, NumericReferences) {
    EXPECT_EQ(decoded("&#233;"), "\xE9");
    EXPECT_EQ(decoded("&#09;"), "\t");
    EXPECT_EQ(decoded("&#65;&#x42;&#X43;&#xe9;"), "ABC\xE9") << "hexadecimal up to 255 too";
    EXPECT_EQ(decoded("&#255;"), "\xFF");
}

TEST(EntitiesToChars, ReferencesOutsideTheCodePageStayInsteadOfVanishing) {
    int count = -1;
    EXPECT_EQ(decoded("a&#0;b&#256;c&#8364;d&#x100;e&#x0;f&#;g&#12a;h&#xg1;", &count),
              "a&#0;b&#256;c&#8364;d&#x100;e&#x0;f&#;g&#12a;h&#xg1;");
    EXPECT_EQ(count, 0);
    EXPECT_EQ(decoded("&#99999999999999;"), "&#99999999999999;") << "no overflow";
}

TEST(EntitiesToChars, NulBytesAreKept) {
    std::string line("a\0&eacute;\0b", 12);
    EXPECT_EQ(funcHTMLEntitiesToChars(line), 1);
    EXPECT_EQ(line, std::string("a\0\xE9\0b", 5));
}

TEST(EntitiesForMarkup, ReferencesThatWouldBreakRtfOrMarkupStay) {
    std::string line = "&#92;&#123;&#125;&#60;&#62;&#38;&#34;&#10;&#13;&#x5C;";
    std::string before = line;
    EXPECT_EQ(decodeEntitiesForMarkup(line), 0);
    EXPECT_EQ(line, before);
    line = "&#233;&#9;&eacute;&quot;&#65;";
    EXPECT_EQ(decodeEntitiesForMarkup(line), 5);
    EXPECT_EQ(line, "\xE9\t\xE9\"A") << "named entities and safe characters are decoded";
}

TEST(CharsToEntities, PlainTextModesEscapeMarkup) {
    int count = -1;
    EXPECT_EQ(encoded("a < b & c", 0, &count), "a &lt; b &amp; c");
    EXPECT_EQ(count, 1) << "the ampersand is not counted";
    EXPECT_EQ(encoded("x\ty\"z>", 1), "x&#09;y&quot;z&gt;");
    EXPECT_EQ(encoded("a < b & c\t", 2, &count), "a < b & c\t");
    EXPECT_EQ(count, 0);
    EXPECT_EQ(encoded("&\xE9", 0), "&amp;&eacute;") << "inserted entities are not escaped again";
}

TEST(CharsToEntities, PunctuationByMode) {
    EXPECT_EQ(encoded("\x93", 0), "&ldquo;");
    EXPECT_EQ(encoded("\x93", 2), "&ldquo;");
    EXPECT_EQ(encoded("\x93", 1), "&quot;");
    EXPECT_EQ(encoded("\x93", 3), "&quot;");
    for (int mode = 0; mode <= 3; ++mode) {
        EXPECT_EQ(encoded("\x99\x85", mode), "\x99\x85") << mode;
        EXPECT_EQ(encoded("\xE9", mode), "&eacute;") << mode;
    }
    EXPECT_EQ(encoded("\x8C\x95\x9C", 1), "OE*oe");
    EXPECT_EQ(encoded("\x95", 0), "\x95") << "no named entity for the bullet";
    int count = 0;
    EXPECT_EQ(encoded("\xA0\xFF\x82\x82", 2, &count), "&nbsp;&yuml;&sbquo;&sbquo;");
    EXPECT_EQ(count, 4);
}

// Chunks of sixteen bytes without a replaced byte are copied whole, the
// others encoded byte by byte: replaced and kept bytes, ASCII ones
// included, at every offset of a chunk, near one another and at the end.
TEST(CharsToEntities, ReplacedBytesAtEveryChunkOffset) {
    for (std::size_t pad = 0; pad <= 33; ++pad) {
        for (std::size_t tail = 0; tail <= 17; tail += 2) {
            const std::string a(pad, 'a'), b(tail, 'b'), c(pad, 'c');
            for (int mode : {0, 1, 2, 3}) {
                int count = -1;
                EXPECT_EQ(encoded(a + "\xE9" + b + "\x99" + c + "\xFF", mode, &count),
                          a + "&eacute;" + b + "\x99" + c + "&yuml;")
                    << "mode " << mode << ", pad " << pad << ", tail " << tail;
                EXPECT_EQ(count, 2);
                const std::string markup = a + "<" + b + "\t\"" + c + ">&";
                const std::string escaped = a + "&lt;" + b + "&#09;&quot;" + c + "&gt;&amp;";
                EXPECT_EQ(encoded(markup, mode, &count), mode >= 2 ? markup : escaped)
                    << "mode " << mode << ", pad " << pad << ", tail " << tail;
                EXPECT_EQ(count, mode >= 2 ? 0 : 4);
            }
        }
    }
}

// The replacement of each byte in each mode, built from the resource tables
// one row at a time: the oracle for random lines below.
std::string naiveEncoding(const std::string& line, int mode, int& count) {
    namespace res = tessel::resources;
    std::array<std::string, 256> rows;
    auto add = [&](unsigned char c, std::string_view replacement) { rows[c] = replacement; };
    const bool plainText = mode == 0 || mode == 1;
    const bool compatible = mode == 1 || mode == 3;
    if (plainText) {
        for (const auto& row : res::kAsciiEntities) add(row.character, row.replacement);
        add('&', res::kAmpersandEntity);
    }
    if (compatible) {
        for (const auto& row : res::kCompatible1252Entities) add(row.character, row.replacement);
    } else {
        for (const auto& row : res::kNamed1252Entities) add(row.character, row.replacement);
    }
    for (std::size_t i = 0; i < res::kLatin1Entities.size(); ++i) {
        add(static_cast<unsigned char>(0xA0 + i), res::kLatin1Entities[i]);
    }
    std::string out;
    count = 0;
    for (char c : line) {
        const std::string& row = rows[static_cast<unsigned char>(c)];
        if (row.empty()) {
            out += c;
        } else {
            out += row;
            if (c != '&') ++count;
        }
    }
    return out;
}

// Random lines of every length up to a few chunks, thick with bytes that are
// replaced in some mode, against the oracle in all four modes.
TEST(CharsToEntities, RandomLinesMatchTheTables) {
    std::mt19937 random(20261209);
    const std::string alphabet = std::string("abc <>\"&\t;") + "\x80\x93\x95\x99\xA0\xE9\xFF";
    for (int round = 0; round < 3000; ++round) {
        std::string line(random() % 70, ' ');
        const bool sparse = round % 3 == 0;
        for (char& c : line) {
            c = sparse && random() % 8 != 0 ? 'x' : alphabet[random() % alphabet.size()];
        }
        for (int mode = 0; mode <= 3; ++mode) {
            int expectedCount = 0;
            const std::string expected = naiveEncoding(line, mode, expectedCount);
            int count = -1;
            ASSERT_EQ(encoded(line, mode, &count), expected) << "mode " << mode;
            EXPECT_EQ(count, expectedCount) << "mode " << mode;
        }
    }
}

// Every byte replaced: the line grows well past the room first set aside.
TEST(CharsToEntities, LinesOfOnlyReplacedBytes) {
    int count = -1;
    std::string expected;
    for (int i = 0; i < 5000; ++i) expected += "&Oslash;";
    EXPECT_EQ(encoded(std::string(5000, '\xD8'), 2, &count), expected);
    EXPECT_EQ(count, 5000);
    expected.clear();
    for (int i = 0; i < 3000; ++i) expected += "&amp;&#09;";
    std::string line;
    for (int i = 0; i < 3000; ++i) line += "&\t";
    EXPECT_EQ(encoded(line, 1, &count), expected);
    EXPECT_EQ(count, 3000) << "tabs counted, ampersands not";
}

TEST(CharsToEntities, InvalidModeLeavesTheLine) {
    std::string line = "\xE9";
    EXPECT_EQ(funcCharsToHTMLEntities(line, 4), -1000);
    EXPECT_EQ(line, "\xE9");
}

TEST(EntityJobs, LineEngineRunsTheEncoder) {
    tessel::test::TempDir dir;
    auto path = dir.write("page.txt", "caf\xE9 & <b>\r\n\x93quoted\x94\r\n");
    char buffer[260] = {};
    std::strncpy(buffer, path.c_str(), sizeof buffer - 1);
    EXPECT_EQ(funciTextReadWriteParser(buffer, 901, 0, "htm"), 5);
    EXPECT_EQ(tessel::test::readFile(dir.file("page.htm")),
              "caf&eacute; &amp; &lt;b&gt;\r\n&ldquo;quoted&rdquo;\r\n");

    std::strncpy(buffer, path.c_str(), sizeof buffer - 1);
    EXPECT_EQ(funciTextReadWriteParser(buffer, 903, 0, "html"), 5);
    EXPECT_EQ(tessel::test::readFile(dir.file("page.html")),
              "caf&eacute; &amp; &lt;b&gt;\r\n&quot;quoted&quot;\r\n");
    EXPECT_FALSE(tessel::test::exists(dir.file("page.ERR")));
}

}  // namespace
