// Throughput of the charset step (parse with the HTML charset grammar, then
// the rewrite that replaces the META value) on generated 10 MB HTML files: a
// tag-dense page and prose with few tags, each next to a plain copy.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "frame/error_log.h"
#include "frame/job_state.h"
#include "markup/charset_step.h"
#include "support/bench_files.h"

namespace {

using namespace tessel::bench;

constexpr std::size_t kFileSize = 10 * 1024 * 1024;

struct Shape {
    const char* paragraphs[3];
};

const std::map<std::string, Shape>& shapes() {
    static const std::map<std::string, Shape> table = {
        {"page",
         {{"<p class=\"body\">Text of a paragraph with <b>bold</b> and <i>italic</i> "
           "words.</p>\r\n",
           "<!-- a comment --><a href=\"page.html\">a link</a> and more text\r\n",
           "<table border=\"1\"><tr><td>cell</td><td>cell</td></tr></table>\r\n"}}},
        {"prose",
         {{"<p>\xCF\xF0\xE8\xE2\xE5\xF2 \xEC\xE8\xF0, a long paragraph of translated prose that "
           "runs on and on with words, commas, and full stops, as an article would have it, "
           "without markup for many lines of text.\r\n",
           "More of the same sentence, still going, with a <b>bold</b> word now and then and "
           "otherwise nothing but the translated words of the page.</p>\r\n",
           "\xD2\xE5\xEA\xF1\xF2 \xED\xE0 \xF0\xF3\xF1\xF1\xEA\xEE\xEC \xFF\xE7\xFB\xEA\xE5 and "
           "Latin words mixed in the text of the page, line after line after line.\r\n"}}},
    };
    return table;
}

const std::string& sourceFile(const std::string& shape) {
    static std::map<std::string, std::string> paths;
    auto it = paths.find(shape);
    if (it != paths.end()) return it->second;
    std::string text =
        "<html>\r\n<head><meta http-equiv=\"Content-Type\" content=\"text/html; "
        "charset=iso-8859-1\"></head>\r\n<body>\r\n";
    text.reserve(kFileSize + 512);
    const Shape& s = shapes().at(shape);
    for (std::size_t i = 0; text.size() < kFileSize; ++i) text += s.paragraphs[i % 3];
    text += "</body>\r\n</html>\r\n";
    std::string path = scratchPath("charset-" + shape + ".htm");
    writeBytes(path, text);
    return paths.emplace(shape, path).first->second;
}

void BM_PlainCopy(benchmark::State& state, const std::string& shape) {
    const std::string& source = sourceFile(shape);
    std::string target = scratchPath("charset-" + shape + "-copy.htm");
    for (auto _ : state) plainCopy(source, target);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

void BM_CharsetStep(benchmark::State& state, const std::string& shape) {
    const std::string& source = sourceFile(shape);
    std::string page = scratchPath("charset-" + shape + "-step.htm");
    std::string logName = scratchPath("charset-" + shape + "-step.ERR");
    for (auto _ : state) {
        state.PauseTiming();
        plainCopy(source, page);
        tessel::frame::jobState().reset();
        tessel::frame::ErrorLog log;
        log.open(logName);
        state.ResumeTiming();
        int result = tessel::markup::runCharsetStep(page, 1251, "", log);
        if (result != 0) state.SkipWithError("the charset step failed");
    }
    removeIfPresent(page);
    removeIfPresent(logName);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

void registerAll() {
    for (const char* shape : {"page", "prose"}) {
        std::string name = shape;
        benchmark::RegisterBenchmark(("PlainCopy/" + name).c_str(), BM_PlainCopy, name)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("CharsetStep/" + name).c_str(), BM_CharsetStep, name)
            ->Unit(benchmark::kMillisecond);
    }
}

const int registered = (registerAll(), 0);

}  // namespace
