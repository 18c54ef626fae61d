// The HTML charset and PageMaker grammars scan ignored text in runs. The
// parser must see exactly the tokens, texts and positions it saw when every
// ignored byte was a token of its own: the shipped grammar is compared with
// its byte-by-byte form on typical, tricky and generated inputs.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "compiled_grammar.h"
#include "platform/resources.h"
#include "resources/grammar_catalog.h"
#include "support/grammar_samples.h"
#include "support/table_interpreter.h"
#include "support/temp_dir.h"

namespace tessel::resources {
namespace {

struct RuleChange {
    const char* run;         // the rule as shipped
    const char* byteByByte;  // the rule it replaced
};

const RuleChange kHtmlChanges[] = {
    {"51 ignore : [^<]+ | <\n", "51 ignore : .\n"},
    {"53 ignore : [^<]+\n", "53 ignore : [^<]\n"},
    {"59 ignore : {ws}+\n", "59 ignore : {ws}\n"},
    {"67 ignore : [^>cC]+ | [cC]\n", "67 ignore : [^>]\n"},
    {"72 ignore : [^-]+ | -\n", "72 ignore : .\n"},
    {"74 ignore : [^<]+ | <\n", "74 ignore : .\n"},
};

const RuleChange kPageMakerChanges[] = {
    {"1 ignore : [^<]+ | <\n", "1 ignore : .\n"},
    {"3 ignore : [^<\\\\]+ | \\\\\n", "3 ignore : [^<]\n"},
    {"7 ignore : [!$()*,./:;=\"]+\n", "7 ignore : [!$()*,./:;=\"]\n"},
    {"8 ignore : {ws}+\n", "8 ignore : {ws}\n"},
    {"13 ignore : [^\\t\\n \">]+\n", "13 ignore : [^\\t\\n \">]\n"},
    {"14 ignore : {ws}+\n", "14 ignore : {ws}\n"},
    {"17 ignore : [^\"]+\n", "17 ignore : [^\"]\n"},
};

std::string grammarText(const std::string& file) {
    return test::readFile(std::string(TESSEL_SOURCE_DIR) + "/lib/resources/grammars/" + file);
}

std::vector<std::uint8_t> byteByByteTable(const std::string& file,
                                          std::span<const RuleChange> changes) {
    std::string text = grammarText(file);
    for (const RuleChange& change : changes) {
        std::size_t at = text.find(change.run);
        EXPECT_NE(at, std::string::npos) << change.run;
        if (at != std::string::npos)
            text.replace(at, std::string(change.run).size(), change.byteByByte);
    }
    return grammar::compileGrammar(text, file).lexTable;
}

// "line:column token text|" of what reaches the parser, or where the scan
// found an invalid token.
std::string parserTokens(std::span<const std::uint8_t> table, const std::string& text) {
    std::string out;
    try {
        for (const auto& t : testing::scanWithTable(table, text)) {
            if (!t.ignored) {
                out += std::to_string(t.line) + ":" + std::to_string(t.column) + " " +
                       std::to_string(t.token) + " " + t.text + "|";
            }
        }
    } catch (const std::runtime_error& error) {
        out += error.what();
    }
    return out;
}

std::size_t ignoredTokens(std::span<const std::uint8_t> table, const std::string& text) {
    std::size_t count = 0;
    for (const auto& t : testing::scanWithTable(table, text)) count += t.ignored ? 1 : 0;
    return count;
}

// Texts glued from fragments the rules care about.
std::vector<std::string> generatedTexts(const std::vector<std::string>& fragments) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<std::size_t> pick(0, fragments.size() - 1);
    std::uniform_int_distribution<int> length(1, 40);
    std::vector<std::string> texts;
    for (int i = 0; i < 3000; ++i) {
        std::string text;
        for (int n = length(random); n > 0; --n) text += fragments[pick(random)];
        texts.push_back(text);
    }
    return texts;
}

void expectSameParserTokens(const char* key, const std::string& file,
                            std::span<const RuleChange> changes,
                            const std::vector<std::string>& texts) {
    const GrammarDescription* grammar = findGrammar(key);
    ASSERT_NE(grammar, nullptr);
    auto shipped = *platform::findResource(grammar->lexTable, "LEXTABLE");
    std::vector<std::uint8_t> reference = byteByByteTable(file, changes);
    for (const std::string& text : texts) {
        ASSERT_EQ(parserTokens(shipped, text), parserTokens(reference, text)) << text;
    }
}

TEST(GrammarRuns, HtmlCharsetParserSeesTheSameTokens) {
    std::vector<std::string> texts =
        generatedTexts({"<",       ">",          "<html>",     "<HTML lang=x>",
                        "</html>", "< / HTML >", "head",       "HEAD",
                        "meta",    "META ",      "charset",    "Charset =",
                        "=",       "\"",         "'",          "!",
                        "/",       "-",          "--",         "-->",
                        "<!--",    "<script>",   "</SCRIPT >", " ",
                        "\n",      "\t",         "c",          "C",
                        "x",       "word",       "\xE9"});
    texts.push_back(testing::kHtmlSample);
    texts.push_back(
        "<html>Body text, more.<!-- a -- b ---><META x=\"c\" cC Charset = x-sjis>"
        "<script>a<b</script ></html>");
    expectSameParserTokens("htmlcharset", "htmlcharset.grammar", kHtmlChanges, texts);
}

TEST(GrammarRuns, PageMakerParserSeesTheSameTokens) {
    std::vector<std::string> texts = generatedTexts({"<PMTags1.0 win>",
                                                     "<PMTags2.0 MAC>\n",
                                                     "<",
                                                     ">",
                                                     "\\",
                                                     "\\<",
                                                     "\\>",
                                                     "\\@",
                                                     "<\\<>",
                                                     "<*INDEX",
                                                     "< * index",
                                                     "\"",
                                                     "@Body:",
                                                     "GTABS(",
                                                     "C-COLORTABLE ",
                                                     "B",
                                                     "$",
                                                     "(",
                                                     ";",
                                                     " ",
                                                     "\n",
                                                     "\t",
                                                     "word",
                                                     "x",
                                                     "\xE9"});
    texts.push_back(testing::kPageMakerSample);
    expectSameParserTokens("pagemaker", "pagemaker.grammar", kPageMakerChanges, texts);
}

TEST(GrammarRuns, IgnoredTextIsOneTokenPerRun) {
    auto html = *platform::findResource(findGrammar("htmlcharset")->lexTable, "LEXTABLE");
    // The text before <html> and the body text.
    EXPECT_EQ(ignoredTokens(html, "before <html>" + std::string(500, 'x') + "</html>"), 2u);
    auto pageMaker = *platform::findResource(findGrammar("pagemaker")->lexTable, "LEXTABLE");
    EXPECT_EQ(ignoredTokens(pageMaker, "<PMTags1.0 win>" + std::string(500, 'x') + "\\x"), 3u)
        << "the text up to the backslash, the backslash, and the rest";
}

}  // namespace
}  // namespace tessel::resources
