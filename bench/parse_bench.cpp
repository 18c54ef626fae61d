// Lexing and parsing throughput of the five grammars on generated 10 MB files
// of their formats, each next to a plain copy of the same file.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "parser/grammar_trace.h"
#include "parser/ss_exception.h"
#include "parser/ss_lex_file_input.h"
#include "support/bench_files.h"

namespace {

using namespace tessel::bench;
using namespace tessel::parser;

constexpr std::size_t kFileSize = 10 * 1024 * 1024;

struct Format {
    const char* grammar;
    const char* header;
    const char* paragraphs[3];
    const char* trailer;
};

// Typical content of each format, repeated up to the file size.
const std::map<std::string, Format>& formats() {
    static const std::map<std::string, Format> table = {
        {"pagemaker",
         {"pagemaker",
          "<PMTags1.0 win>\n",
          {"<@Body text:>Plain text with <B>bold words<P> and an escaped \\<bracket\\> here.\n",
           "<@Heading 1:><FONT \"Arial\"><SIZE 12>A heading line<SIZE$><FONT$>\n",
           "Index <*INDEX \"entry\" \"sub entry\"> and <G>text<C-COLORTABLE (\"Black\" 1 0 0 "
           "0)>\n"},
          ""}},
        {"quark",
         {"quark",
          "<v1.70><e0>\n",
          {"@Normal:A line of text with <B>bold<B$> words and a <\\#183> character<$>\n",
           "@Heading 1:A heading <f\"Arial\">in a font<f$>\n",
           "<*L>More text in a paragraph that runs on for a while <I>with italics<I$> to the "
           "end\n"},
          ""}},
        {"htmlcharset",
         {"htmlcharset",
          "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html; "
          "charset=x-sjis\"></head>\n",
          {"<p class=\"body\">Text of a paragraph with <b>bold</b> and <i>italic</i> words.</p>\n",
           "<!-- a comment --><a href=\"page.html\">a link</a> and more text\n",
           "<table border=\"1\"><tr><td>cell</td><td>cell</td></tr></table>\n"},
          "</html>\n"}},
        {"ventura4",
         {"ventura4",
          "",
          {"@BODY TEXT = A paragraph of text with <B>bold<D> words and a <$Ffootnote> code.\n\n",
           "@HEADING = A heading <<with>> brackets <@183> and (parentheses)\n\n",
           "@Z_TBL_BEG = COLUMNS(2), DIMENSION(IN)\n\n@Z_TBL_BODY = TABLE TEXT, TABLE TEXT\n\n"
           "Cell one, Cell two\n\n@Z_TBL_END = \n\n"},
          ""}},
        {"ventura",
         {"ventura",
          "",
          {"@BODY TEXT = A paragraph of text with <B>bold<D> words and a <$Ffootnote> code.\n\n",
           "@HEADING = A heading <<with>> brackets and (parentheses)\n\n",
           "@Z_TBL_BEG = COLUMNS(2), DIMENSION(IN)\n@Z_TBL_BODY = TABLE TEXT, TABLE TEXT\n"
           "Cell one, Cell two\n@Z_TBL_END = \n\n"},
          ""}},
        // Translated prose with few tags, as most of a real page is.
        {"htmlcharset-prose",
         {"htmlcharset",
          "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html; "
          "charset=x-sjis\"></head>\n<body>\n",
          {"<p>A long paragraph of translated prose that runs on and on with words, commas and "
           "full stops, as an article would have it, without markup for many lines of text.\n",
           "More of the same sentence, still going, with a <b>bold</b> word now and then and "
           "otherwise nothing but the translated words of the page.</p>\n",
           "Text in another language mixed in with Latin words, line after line after line of "
           "it, the way the body of a page reads.\n"},
          "</body>\n</html>\n"}},
        // PageMaker stories are long runs of text between few tags.
        {"pagemaker-prose",
         {"pagemaker",
          "<PMTags1.0 win>\n",
          {"<@Body text:>A long paragraph of story text that runs on and on with words, commas "
           "and full stops, as a brochure would have it, without tags for many lines.\n",
           "More of the same story, still going, with a <B>bold<P> word now and then and "
           "otherwise nothing but the words of the page.\n",
           "A third paragraph of plain text, line after line of it, the way most of a story "
           "reads when it has been exported.\n"},
          ""}},
    };
    return table;
}

const std::string& sourceFile(const std::string& key) {
    static std::map<std::string, std::string> paths;
    auto it = paths.find(key);
    if (it != paths.end()) return it->second;
    const Format& format = formats().at(key);
    std::string text = format.header;
    text.reserve(kFileSize + 512);
    for (std::size_t i = 0; text.size() < kFileSize; ++i) text += format.paragraphs[i % 3];
    text += format.trailer;
    std::string path = scratchPath(key + "-source.txt");
    writeBytes(path, text);
    return paths.emplace(key, path).first->second;
}

void BM_PlainCopy(benchmark::State& state, const std::string& key) {
    const std::string& source = sourceFile(key);
    std::string target = scratchPath(key + "-copy.out");
    for (auto _ : state) plainCopy(source, target);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

void BM_LexAndParse(benchmark::State& state, const std::string& key) {
    const std::string& source = sourceFile(key);
    const auto& grammar = *tessel::resources::findGrammar(formats().at(key).grammar);
    GrammarTables tables = GrammarTables::load(grammar);
    std::uint64_t reductions = 0;
    for (auto _ : state) {
        SSLexFileInput input(source);
        GrammarLex lex(grammar, input, tables.lex);
        TracingParser parser(lex, tables.yacc, {});
        int result = parser.parse();
        if (result != 0 || parser.syntaxErrors() != 0) {
            state.SkipWithError("the generated file has syntax errors");
            break;
        }
        reductions = parser.reductions();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
    state.counters["reductions"] = static_cast<double>(reductions);
}

void registerAll() {
    for (const char* key : {"pagemaker", "pagemaker-prose", "quark", "htmlcharset",
                            "htmlcharset-prose", "ventura4", "ventura"}) {
        std::string name = key;
        benchmark::RegisterBenchmark(("PlainCopy/" + name).c_str(), BM_PlainCopy, name)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("LexAndParse/" + name).c_str(), BM_LexAndParse, name)
            ->Unit(benchmark::kMillisecond);
    }
}

const int registered = (registerAll(), 0);

}  // namespace
