// The grammars on the real files of the shared corpus, read through the
// runtime from disk as the converters read them.
#include <gtest/gtest.h>

#include <filesystem>

#include "parser/grammar_trace.h"
#include "parser/ss_exception.h"
#include "parser/ss_lex_file_input.h"

namespace tessel::parser {
namespace {

std::filesystem::path corpus(const char* folder) {
    return std::filesystem::path(TESSEL_CORPUS_DIR) / folder;
}

struct CorpusRun {
    int result = -1;
    std::uint64_t syntaxErrors = 0;
    std::vector<std::string> codePages;  // texts of the CODE_PAGE tokens
};

CorpusRun parseFile(const char* key, const std::filesystem::path& file) {
    const auto& grammar = *resources::findGrammar(key);
    GrammarTables tables = GrammarTables::load(grammar);
    SSLexFileInput input(file.string());
    GrammarLex lex(grammar, input, tables.lex);
    TracingParser parser(lex, tables.yacc, {});
    CorpusRun run;
    run.result = parser.parse();
    run.syntaxErrors = parser.syntaxErrors();
    SSLexFileInput again(file.string());
    GrammarLex scan(grammar, again, tables.lex);
    while (auto token = scan.nextToken()) {
        if (token->tokenNumber() == 71) run.codePages.emplace_back(token->textView());
    }
    return run;
}

TEST(GrammarCorpus, PageMakerFilesParseWithoutErrors) {
    if (!std::filesystem::is_directory(corpus("pagemaker"))) GTEST_SKIP() << "corpus not found";
    CorpusRun sample =
        parseFile("pagemaker", corpus("pagemaker") / "txt2tags-sample-pmtags-win.pm6");
    EXPECT_EQ(sample.result, 0);
    EXPECT_EQ(sample.syntaxErrors, 0u);
    // Without a header everything is skipped: the empty document.
    CorpusRun fragment =
        parseFile("pagemaker", corpus("pagemaker") / "txt2tags-fragment-no-header.pm6");
    EXPECT_EQ(fragment.result, 0);
}

TEST(GrammarCorpus, HtmlFilesParseToTheEndAndYieldTheirCharset) {
    if (!std::filesystem::is_directory(corpus("html"))) GTEST_SKIP() << "corpus not found";
    for (const auto& entry : std::filesystem::directory_iterator(corpus("html"))) {
        // Syntax errors (scripts with "<" in them, "<!>") are recovered from.
        EXPECT_NO_THROW(parseFile("htmlcharset", entry.path())) << entry.path();
    }
    CorpusRun word = parseFile("htmlcharset", corpus("html") / "word9-export-cp1252.html");
    EXPECT_EQ(word.codePages, (std::vector<std::string>{"windows-1252"}));
}

TEST(GrammarCorpus, QuarkXPressUnicodeEncodingTagIsAHeader) {
    if (!std::filesystem::is_directory(corpus("quark"))) GTEST_SKIP() << "corpus not found";
    // The Unicode tag <e9> of later versions is a header like <e0> to <e2>.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus("quark"))) {
        CorpusRun run;
        ASSERT_NO_THROW(run = parseFile("quark", entry.path())) << entry.path();
        EXPECT_EQ(run.result, 0) << entry.path();
        EXPECT_EQ(run.syntaxErrors, 0u) << entry.path();
        ++files;
    }
    EXPECT_EQ(files, 3);
}

}  // namespace
}  // namespace tessel::parser
