// The five compiled grammars as the library carries them: resources, token
// names, token streams and parses of small typical documents, read through a
// plain interpreter of the table bytes.
#include <gtest/gtest.h>

#include <string>

#include "platform/resources.h"
#include "resources/grammar_catalog.h"
#include "support/grammar_samples.h"
#include "support/table_interpreter.h"

namespace tessel::resources {
namespace {

struct Tables {
    std::span<const std::uint8_t> lex;
    std::span<const std::uint8_t> yacc;
};

Tables tablesOf(std::string_view key) {
    const GrammarDescription* grammar = findGrammar(key);
    if (grammar == nullptr) throw std::runtime_error("no grammar");
    return {*platform::findResource(grammar->lexTable, "LEXTABLE"),
            *platform::findResource(grammar->yaccTable, "YACCTABLE")};
}

// "line:column token text|" for each token that reaches the parser.
std::string tokenStream(std::string_view key, const std::string& text) {
    std::string out;
    for (const auto& t : testing::scanWithTable(tablesOf(key).lex, text)) {
        if (t.ignored) continue;
        std::string shown;
        for (char c : t.text) shown += c == '\n' ? std::string("\\n") : std::string(1, c);
        out += std::to_string(t.line) + ":" + std::to_string(t.column) + " " +
               std::to_string(t.token) + " " + shown + "|";
    }
    return out;
}

testing::ParseOutcome parse(std::string_view key, const std::string& text) {
    Tables tables = tablesOf(key);
    return testing::parseWithTable(tables.yacc, testing::scanWithTable(tables.lex, text));
}

std::string reductions(std::string_view key, const std::string& text) {
    auto outcome = parse(key, text);
    std::string out = outcome.accepted ? "accepted:" : "rejected:";
    for (int p : outcome.reductions) out += " " + std::to_string(p);
    return out;
}

TEST(GrammarTables, EveryGrammarHasBothTablesAsResources) {
    const char* names[][2] = {{"PageMakerLexTable", "PageMakerYaccTable"},
                              {"XPressLexTable", "XPressYaccTable"},
                              {"VenturaLexTable", "VenturaYaccTable"},
                              {"Ventura4LexTable", "Ventura4YaccTable"},
                              {"HTMLCharSetLexTable", "HTMLCharSetYaccTable"}};
    for (const auto& pair : names) {
        auto lex = platform::findResource(pair[0], "LEXTABLE");
        auto yacc = platform::findResource(pair[1], "yacctable");
        ASSERT_TRUE(lex.has_value()) << pair[0];
        ASSERT_TRUE(yacc.has_value()) << pair[1];
        EXPECT_EQ(testing::tableWord(*lex, 4), 0x53534C58u);   // "XLSS"
        EXPECT_EQ(testing::tableWord(*yacc, 0), 0x53535943u);  // "CYSS"
        EXPECT_FALSE(platform::findResource(pair[0], "YACCTABLE").has_value());
    }
    EXPECT_TRUE(platform::findResource("PAGEMAKERLEXTABLE", "LEXTABLE").has_value());
    EXPECT_EQ(grammarCatalog().size(), 5u);
}

TEST(GrammarTables, ProductionTablesMatchTheNumberedProductions) {
    struct Expect {
        const char* key;
        std::uint32_t productions;  // production 0 included
        std::uint32_t lists;
    };
    for (const auto& e :
         {Expect{"pagemaker", 25, 5}, Expect{"quark", 26, 2}, Expect{"ventura4", 23, 6},
          Expect{"ventura", 23, 7}, Expect{"htmlcharset", 22, 8}}) {
        Tables t = tablesOf(e.key);
        EXPECT_EQ(testing::tableWord(t.yacc, 4), e.productions) << e.key;
        EXPECT_EQ(testing::tableWord(t.lex, 0), e.lists) << e.key;
    }
    // PageMaker P8 N4 -> 4 N6 11: length 3, left side N4 = 0x4004.
    Tables pm = tablesOf("pagemaker");
    std::uint32_t productions = testing::tableWord(pm.yacc, 16);
    EXPECT_EQ(testing::tableWord(pm.yacc, productions + 8 * 8), 3u);
    EXPECT_EQ(testing::tableWord(pm.yacc, productions + 8 * 8 + 4), 0x4004u);
    EXPECT_EQ(testing::tableWord(pm.yacc, productions + 4), 0u);  // start production's left side
}

TEST(GrammarTables, TokenNames) {
    const GrammarDescription* pm = findGrammar("PageMaker");
    ASSERT_NE(pm, nullptr);
    EXPECT_EQ(grammarTokenName(*pm, 5), "\\<, \\>, \\@");
    EXPECT_EQ(grammarTokenName(*pm, 2), "<PMTags X.X win/mac>");
    EXPECT_EQ(grammarTokenName(*pm, 3), std::nullopt);
    EXPECT_EQ(grammarTokenName(*pm, -1), "eof");
    EXPECT_EQ(grammarTokenName(*pm, -2), "%error");
    EXPECT_EQ(grammarTokenName(*findGrammar("quark"), 65), "litteral character tag last on line");
    EXPECT_EQ(grammarTokenName(*findGrammar("ventura"), 61), "TAGTEXT");
    EXPECT_EQ(grammarTokenName(*findGrammar("ventura4"), 11), "text in tag");
    EXPECT_EQ(grammarTokenName(*findGrammar("ventura4"), 1), std::nullopt);
    EXPECT_EQ(grammarTokenName(*findGrammar("htmlcharset"), 71), "CODE_PAGE");
    EXPECT_EQ(findGrammar("nothing"), nullptr);
}

TEST(GrammarTables, PageMakerDocument) {
    const std::string text = testing::kPageMakerSample;
    EXPECT_EQ(
        tokenStream("pagemaker", text),
        "1:6 2 <PMTags1.0 win>|2:1 4 <|2:2 12 @Normal:|2:10 11 >|2:17 5 \\<|2:24 5 \\>|2:27 4 <|"
        "2:28 9 B|2:29 11 >|2:34 4 <|2:35 9 P|2:36 11 >|3:1 6 <*INDEX|3:9 15 \"|3:13 18 \"|"
        "3:15 15 \"|3:17 18 \"|3:18 16 >|4:1 4 <|4:2 9 GTABS(|4:8 9 1|4:10 9 2|4:12 11 >|4:13 4 <|"
        "4:14 12 C-COLORTABLE |4:29 9 Black|4:36 9 1|4:38 9 0|4:40 9 0|4:42 9 0|4:44 11 >|4:45 4 <|"
        "4:46 12 @Body Text=|4:57 10 <|4:58 9 FONT|4:64 9 Arial|4:70 11 >|4:71 10 <|4:72 9 SIZE|"
        "4:77 9 10|4:79 11 >|4:80 11 >|5:1 4 <|5:2 9 G|5:3 11 >|5:5 4 <|5:6 12 g2|5:8 11 >|");
    EXPECT_EQ(reductions("pagemaker", text),
              "accepted: 13 12 6 3 7 4 7 4 9 8 5 4 9 8 5 4 22 23 24 4 9 10 10 8 5 4 13 14 14 14 14 "
              "14 12 6 "
              "4 13 17 18 18 20 16 17 18 18 20 16 12 6 4 9 8 5 4 13 12 6 4 2");
}

TEST(GrammarTables, PageMakerEdgeCases) {
    // A lower-case name is no header: nothing reaches the parser, which
    // accepts the empty document.
    EXPECT_EQ(tokenStream("pagemaker", "<pmtags1.0 mac>\n<B>x"), "");
    EXPECT_EQ(reductions("pagemaker", "<pmtags1.0 mac>\n<B>x"), "accepted: 1");
    EXPECT_EQ(
        tokenStream("pagemaker", "<PMTags2.0 MAC>< GT><*INDE >"),
        "1:1 2 <PMTags2.0 MAC>|1:16 4 <|1:18 12 GT|1:20 11 >|1:21 4 <|1:23 9 INDE|1:28 11 >|");
    // Only the header: "eof" arrives where <*INDEX, \<... and < are expected,
    // in this order.
    auto outcome = parse("pagemaker", "<PMTags1.0 win>\n");
    EXPECT_FALSE(outcome.accepted);
    EXPECT_EQ(outcome.errorToken, -1);
    EXPECT_EQ(outcome.expected, (std::vector<std::int32_t>{6, 5, 4}));
    EXPECT_EQ(tokenStream("pagemaker", "<PMTags1.0 win>a<\\<>\\@\\x"),
              "1:1 2 <PMTags1.0 win>|1:17 5 <\\<>|1:21 5 \\@|");
}

TEST(GrammarTables, QuarkXPressDocument) {
    const std::string text = testing::kQuarkSample;
    EXPECT_EQ(
        tokenStream("quark", text),
        "1:1 53 <v1.70>|1:8 54 <e0>|2:1 62 @Normal:|2:9 56 Hello |2:15 58 <B>|2:18 56 bold|"
        "2:22 58 <B$>|2:26 56  world|2:32 61 <$>|3:1 62 <*L>|3:5 56 Left|3:9 62 @Body=[S\"\",\"\"]|"
        "3:23 57 text|4:1 64 <\\#183>|4:8 56 x|4:9 60 <$>|4:12 59 <B>|5:1 62 <$>|5:4 57 more|"
        "6:1 58 <Az\"F\"<x>>|6:11 56 tail|6:15 65 <\\>>|7:1 63 @Heading:|9:1 63 <$>|");
    EXPECT_EQ(reductions("quark", text),
              "accepted: 5 7 14 11 14 11 14 20 3 7 14 12 16 4 10 14 15 17 4 7 16 4 8 14 19 4 23 4 "
              "23 4 1");
}

TEST(GrammarTables, QuarkXPressEdgeCases) {
    EXPECT_EQ(tokenStream("quark", " \n\t"), "");
    EXPECT_EQ(reductions("quark", " \n\t"), "accepted: 2");
    EXPECT_THROW(tokenStream("quark", "x<v1.70><e0>"), std::runtime_error);
    EXPECT_EQ(tokenStream("quark", "#index line\n<v2.0><e1>\n<B>\n"),
              "1:1 52 #index line\\n|2:1 53 <v2.0>|2:7 54 <e1>|3:1 59 <B>|");
    EXPECT_EQ(reductions("quark", "#index line\n<v2.0><e1>\n<B>\n"), "accepted: 6 22 3 1");
    // The end-of-line forms give their line feed back; a plain <$> cannot start a line.
    auto outcome = parse("quark", "<v1.0><e0>\ntext<$>x");
    EXPECT_FALSE(outcome.accepted);
    EXPECT_EQ(outcome.errorToken, -1);
}

TEST(GrammarTables, HtmlCharsetDocument) {
    const std::string text = testing::kHtmlSample;
    EXPECT_EQ(
        tokenStream("htmlcharset", text),
        "1:2 52 <html lang=en>|2:1 54 <|2:2 65 HEAD|2:6 62 >|3:1 54 <|3:2 66 meta|3:53 68 charset=|"
        "3:61 71 x-sjis|3:68 62 >|4:1 54 <|4:2 66 META|4:7 68 charset=|4:16 71 utf-8|4:23 62 >|"
        "5:1 54 <|5:2 60 a|5:4 61 href=|5:9 64 \"|5:10 76 x\\ny|6:2 77 \"|6:3 62 >|6:5 54 <|6:6 63 "
        "/|"
        "6:7 60 a|6:8 62 >|7:1 54 <|7:2 63 /|7:3 65 HEAD|7:7 62 >|7:8 57 </HTML>|");
    EXPECT_EQ(reductions("htmlcharset", text),
              "accepted: 3 6 7 14 4 6 8 15 16 4 6 8 15 16 4 6 9 20 11 14 4 6 19 4 6 17 4 5 2");
    EXPECT_EQ(reductions("htmlcharset", "no document"), "accepted: 1");
}

TEST(GrammarTables, VenturaDocuments) {
    const std::string v4 = testing::kVentura4Sample;
    EXPECT_EQ(
        tokenStream("ventura4", v4),
        "1:1 9 @BODY TEXT = |1:20 6 <|1:21 11 B|1:22 12 >|1:27 6 <|1:28 11 D|1:29 12 >|1:35 10 <$F|"
        "1:38 11  footnote |1:48 6 <|1:49 11 I|1:50 12 >|1:51 11 x |1:53 12 >|1:59 8 <<|1:62 8 >>|"
        "1:65 8 <@183>|2:1 9 @Z_X=Y = |4:1 7 @Z_TBL_BEG = COLUMNS(2), DIMENSION(IN)\\n\\n|"
        "6:1 18 @Z_TBL_HEAD = TABLE HEADING, TABLE HEADING\\n\\n|8:1 13 Head 1|8:7 14 , |8:9 13 "
        "Head 2|"
        "10:1 18 @Z_TBL_BODY = TABLE TEXT, TABLE TEXT\\n\\n|12:1 13 Cell 1|12:7 15 ,,|12:9 13 Cell "
        "|"
        "12:14 6 <|12:15 11 B|12:16 12 >|12:17 13 2|12:18 6 <|12:19 11 D|12:20 12 >|12:21 14 , |"
        "12:23 16 WIDTH(2)|14:1 17 @Z_TBL_END = |16:1 9 <$!x>|");
    EXPECT_EQ(reductions("ventura4", v4),
              "accepted: 13 3 10 7 4 10 7 4 10 7 11 12 8 4 14 4 14 4 14 4 13 4 16 21 17 19 17 21 "
              "17 18 17 10 "
              "7 20 17 10 7 20 19 22 15 6 13 4 2");

    // Versions 5 to 7: the same document with a code in place of the
    // character code; table lines instead of paragraphs.
    const std::string v5 = testing::kVenturaSample;
    EXPECT_EQ(
        tokenStream("ventura", v5),
        "1:1 59 @BODY TEXT = |1:20 56 <|1:21 61 B|1:22 62 >|1:27 56 <|1:28 61 D|1:29 62 >|1:35 60 "
        "<$F|"
        "1:38 61  footnote |1:48 56 <|1:49 61 I|1:50 62 >|1:51 61 x |1:53 62 >|1:59 58 <<|1:62 58 "
        ">>|"
        "1:65 60 <$N|1:68 62 >|2:1 59 @Z_X=Y = |4:1 57 @Z_TBL_BEG = COLUMNS(2), DIMENSION(IN)|"
        "6:1 68 @Z_TBL_HEAD = TABLE HEADING, TABLE HEADING|8:1 63 Head 1|8:7 64 , |8:9 63 Head 2|"
        "10:1 68 @Z_TBL_BODY = TABLE TEXT, TABLE TEXT|12:1 63 Cell 1|12:7 65 ,,|12:9 63 Cell |"
        "12:14 56 <|12:15 61 B|12:16 62 >|12:17 63 2|12:18 56 <|12:19 61 D|12:20 62 >|12:21 64 , |"
        "12:23 66 WIDTH(2)|14:1 67 @Z_TBL_END = |16:1 59 <$!x>|");
    EXPECT_EQ(reductions("ventura", v5),
              "accepted: 13 3 9 7 4 9 7 4 9 7 10 11 12 4 14 4 14 4 8 4 13 4 16 21 17 19 17 21 17 "
              "18 17 9 7 20 "
              "17 9 7 20 19 22 15 6 13 4 2");
}

TEST(GrammarTables, VenturaEdgeCases) {
    EXPECT_EQ(tokenStream("ventura4", "@BODY TEXT = Hello"), "1:1 9 @BODY TEXT = |");
    // Inside codes, <@n> is text in tag for version 4 and an internal tag later.
    EXPECT_EQ(tokenStream("ventura4", "<B<@12>>"), "1:1 6 <|1:2 11 B|1:3 11 <@12>|1:8 12 >|");
    EXPECT_EQ(tokenStream("ventura", "<B<@12>>"), "1:1 56 <|1:2 61 B|1:3 58 <@12>|1:8 62 >|");
    // A cell of a version 5-7 table keeps its commas as text.
    EXPECT_EQ(
        tokenStream(
            "ventura",
            "@Z_TBL_BEG = VERSION(2)\n@Z_TBL_CELL_BEG = a, b\n@Z_TBL_CELL_END = \n@Z_TBL_END = "),
        "1:1 57 @Z_TBL_BEG = VERSION(2)|2:1 66 @Z_TBL_CELL_BEG = |2:19 63 a, b|"
        "3:1 66 @Z_TBL_CELL_END = |4:1 67 @Z_TBL_END = |");
    // A rest beginning with VE must be a version.
    EXPECT_EQ(tokenStream("ventura", "@Z_TBL_BEG = VERSUS\n@Z_TBL_END = "),
              "1:1 57 @Z_TBL_BEG = |1:14 63 VERSUS|2:1 67 @Z_TBL_END = |");
    // After a single comma one token is read in the comma list.
    EXPECT_EQ(tokenStream("ventura4", "@Z_TBL_BEG = \n\na,b<x>\n@Z_TBL_END = "),
              "1:1 7 @Z_TBL_BEG = \\n\\n|3:1 13 a|3:2 13 ,|3:3 13 b|3:4 6 <|3:5 11 x|3:6 12 >|"
              "4:1 17 @Z_TBL_END = |");
}

}  // namespace
}  // namespace tessel::resources
