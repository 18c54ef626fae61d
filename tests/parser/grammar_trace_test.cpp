// The five grammars through the parser runtime: the runtime's token streams
// and parses agree with a plain reading of the table bytes, line ends of both
// kinds give the same positions, and syntax errors are reported with the
// expected tokens in row order, recovered from or ended as the runtime rules.
#include "parser/grammar_trace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "parser/ss_exception.h"
#include "parser/ss_lex_file_input.h"
#include "parser/ss_lex_memory_input.h"
#include "platform/resources.h"
#include "support/grammar_samples.h"
#include "support/portable.h"
#include "support/table_interpreter.h"

namespace tessel::parser {
namespace {

const resources::GrammarDescription& grammar(const char* key) {
    return *resources::findGrammar(key);
}

std::string show(std::int32_t line, std::int32_t column, std::int32_t token,
                 std::string_view text) {
    return std::to_string(line) + ":" + std::to_string(column) + " " + std::to_string(token) + " " +
           std::string(text) + "|";
}

std::string runtimeTokens(const char* key, SSLexInput& input) {
    GrammarTables tables = GrammarTables::load(grammar(key));
    GrammarLex lex(grammar(key), input, tables.lex);
    std::string out;
    while (auto t = lex.nextToken())
        out += show(t->line(), t->offset(), t->tokenNumber(), t->textView());
    return out;
}

std::string runtimeTokens(const char* key, const std::string& text) {
    SSLexMemoryInput input(text);
    return runtimeTokens(key, input);
}

std::string referenceTokens(const char* key, const std::string& text) {
    auto lex = *platform::findResource(grammar(key).lexTable, "LEXTABLE");
    std::string out;
    for (const auto& t : testing::scanWithTable(lex, text)) {
        if (!t.ignored) out += show(t.line, t.column, t.token, t.text);
    }
    return out;
}

struct Trace {
    std::vector<ParseEvent> events;
    int result = -1;
    std::vector<std::uint32_t> reductions() const {
        std::vector<std::uint32_t> out;
        for (const auto& e : events) {
            if (e.kind == ParseEvent::Kind::Reduction) out.push_back(e.production);
        }
        return out;
    }
};

Trace runtimeParse(const char* key, const std::string& text) {
    GrammarTables tables = GrammarTables::load(grammar(key));
    SSLexMemoryInput input(text);
    GrammarLex lex(grammar(key), input, tables.lex);
    Trace trace;
    TracingParser parser(lex, tables.yacc,
                         [&trace](const ParseEvent& e) { trace.events.push_back(e); });
    trace.result = parser.parse();
    return trace;
}

std::vector<std::uint32_t> referenceReductions(const char* key, const std::string& text) {
    auto lex = *platform::findResource(grammar(key).lexTable, "LEXTABLE");
    auto yacc = *platform::findResource(grammar(key).yaccTable, "YACCTABLE");
    auto outcome = testing::parseWithTable(yacc, testing::scanWithTable(lex, text));
    EXPECT_TRUE(outcome.accepted) << key;
    return {outcome.reductions.begin(), outcome.reductions.end()};
}

class TempFile {
  public:
    explicit TempFile(const std::string& bytes)
        : path_(std::filesystem::temp_directory_path() /
                ("grammar_trace_" + std::to_string(tessel::test::processId()) + "_" +
                 std::to_string(counter_++) + ".txt")) {
        std::ofstream(path_, std::ios::binary) << bytes;
    }
    ~TempFile() { std::filesystem::remove(path_); }
    std::string path() const { return path_.string(); }

  private:
    static inline int counter_ = 0;
    std::filesystem::path path_;
};

std::string withCrLf(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

TEST(GrammarTrace, SamplesScanAndParseAsTheTableBytesSay) {
    const std::pair<const char*, const char*> samples[] = {{"pagemaker", testing::kPageMakerSample},
                                                           {"quark", testing::kQuarkSample},
                                                           {"htmlcharset", testing::kHtmlSample},
                                                           {"ventura4", testing::kVentura4Sample},
                                                           {"ventura", testing::kVenturaSample}};
    for (const auto& [key, text] : samples) {
        EXPECT_EQ(runtimeTokens(key, text), referenceTokens(key, text)) << key;
        Trace trace = runtimeParse(key, text);
        EXPECT_EQ(trace.result, 0) << key;
        EXPECT_EQ(trace.reductions(), referenceReductions(key, text)) << key;
        // The same file with CR LF line ends, read in text mode.
        TempFile file(withCrLf(text));
        SSLexFileInput input(file.path());
        EXPECT_EQ(runtimeTokens(key, input), referenceTokens(key, text)) << key;
    }
}

TEST(GrammarTrace, AnchoredTokensThroughTheRuntime) {
    // End-of-line forms give their line feed back; a start-of-line <$> starts
    // at column 1 of its line without the line feed.
    EXPECT_EQ(runtimeTokens("quark", "<v1.0><e0>\nab\n<$>x\n<$>\n"),
              "1:1 53 <v1.0>|1:7 54 <e0>|2:1 57 ab|3:1 62 <$>|3:4 57 x|4:1 63 <$>|");
    EXPECT_EQ(runtimeTokens("quark", "<v1.0><e0>\n#i\n<v2.0><e1>\n"),
              "1:1 53 <v1.0>|1:7 54 <e0>|2:1 62 #i\n<v2.0><e1>|");
}

TEST(GrammarTrace, TokenNamesAndIgnoredTokens) {
    GrammarTables tables = GrammarTables::load(grammar("htmlcharset"));
    SSLexMemoryInput input("a<html><b c=\"d\"></html>");
    GrammarLex lex(grammar("htmlcharset"), input, tables.lex);
    lex.setKeepIgnored(true);
    std::vector<std::string> seen;
    while (auto t = lex.nextToken()) {
        seen.push_back(std::string(lex.tokenName(t->tokenNumber())) +
                       (lex.lastTokenIgnored() ? "*" : "") + "=" + std::string(t->textView()));
    }
    EXPECT_EQ(seen,
              (std::vector<std::string>{"SSLexTokenNotFound*=a", "<HTML>=<html>", "<=<", "WORD=b",
                                        "SSLexTokenNotFound*= ", "attribute==c=", "start quote=\"",
                                        "text=d", "end quote=\"", ">=>", "</HTML>=</html>"}));
}

TEST(GrammarTrace, ExpectedTokensText) {
    GrammarTables tables = GrammarTables::load(grammar("pagemaker"));
    SSLexMemoryInput input("x");
    GrammarLex lex(grammar("pagemaker"), input, tables.lex);
    EXPECT_EQ(expectedTokensText({6, 5, 4}, lex), "Expected <*INDEX, \\<, \\>, \\@, or <");
    EXPECT_EQ(expectedTokensText({-2, 11}, lex), "Expected >");
    EXPECT_EQ(expectedTokensText({-2, 11, -1}, lex), "Expected >, or eof");
    EXPECT_EQ(expectedTokensText({11}, lex), "Expected >");
    EXPECT_EQ(expectedTokensText({}, lex), "");
}

TEST(GrammarTrace, HeaderOnlyPageMakerFileCannotRecover) {
    std::vector<ParseEvent> events;
    try {
        runtimeParse("pagemaker", "<PMTags1.0 win>\n");
        FAIL() << "parse did not fail";
    } catch (const SSException& e) {
        EXPECT_EQ(e.code(), 14);
        EXPECT_EQ(e.message(), "SSYacc0103e: Attempted read past eof");
    }
    GrammarTables tables = GrammarTables::load(grammar("pagemaker"));
    SSLexMemoryInput input("<PMTags1.0 win>\n");
    GrammarLex lex(grammar("pagemaker"), input, tables.lex);
    TracingParser parser(lex, tables.yacc, [&events](const ParseEvent& e) { events.push_back(e); });
    EXPECT_THROW(parser.parse(), SSException);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, ParseEvent::Kind::RecoveryFailed);
    EXPECT_EQ(events[0].message, "Unexpected text: \"eof\". Expected <*INDEX, \\<, \\>, \\@, or <");
}

TEST(GrammarTrace, RecoveryResumesAtAMarkedToken) {
    // The nested tag inside an internal tag is skipped up to the next word,
    // and the stray word after the tag resumes inside it again.
    Trace trace = runtimeParse("pagemaker", "<PMTags1.0 win>\n<B <x> y>z<P>\n");
    EXPECT_EQ(trace.result, 1);
    std::vector<std::string> errors;
    for (const auto& e : trace.events) {
        if (e.kind == ParseEvent::Kind::SyntaxError) {
            errors.push_back(std::to_string(e.line) + ":" + std::to_string(e.column) + " " +
                             e.message);
        }
    }
    EXPECT_EQ(
        errors,
        (std::vector<std::string>{
            "2:4 Unexpected text: \"<\". Expected external keyword for tag, >, or word in tag",
            "2:8 Unexpected text: \"y\". Expected <*INDEX, \\<, \\>, \\@, <, or eof"}));
    EXPECT_EQ(trace.reductions(), (std::vector<std::uint32_t>{9, 10, 8, 5, 3, 9, 8, 5, 4, 2}));

    // HTML: "/" after the first word of a tag, before any recovery state of
    // the tag is stacked: tokens are skipped up to the next "<", which the
    // document state takes (flag 4) once the broken tag's items are popped.
    Trace html = runtimeParse("htmlcharset", "<html><br/><p></html>");
    EXPECT_EQ(html.result, 1);
    EXPECT_EQ(html.reductions(), (std::vector<std::uint32_t>{3, 6, 6, 9, 14, 4, 5, 2}));
    // Once the tag's first word forms N6, the tag is a recovery state and
    // resumes at its ">"; the word before the error is dropped with its item.
    Trace inTag = runtimeParse("htmlcharset", "<html><a b/></html>");
    EXPECT_EQ(inTag.result, 1);
    EXPECT_EQ(inTag.reductions(), (std::vector<std::uint32_t>{3, 6, 9, 14, 4, 5, 2}));
}

TEST(GrammarTrace, InvalidCharacterEndsTheScan) {
    try {
        runtimeTokens("quark", "x<v1.0><e0>");
        FAIL() << "no error";
    } catch (const SSException& e) {
        EXPECT_EQ(e.code(), 5);
        EXPECT_EQ(e.message(), "SSLex0105e: Invalid token, Line 1, Offset 1, x");
    }
}

}  // namespace
}  // namespace tessel::parser
