// Throughput of the PageMaker mark-up on a generated 10 MB tagged file, next
// to a plain copy of the same file.
#include <benchmark/benchmark.h>

#include <random>

#include "support/bench_files.h"
#include "tessel_cat.h"

namespace {

using namespace tessel::bench;

constexpr std::size_t kFileSize = 10 * 1024 * 1024;

// Paragraphs of prose as a PageMaker export has them: a style sheet tag at
// the start of each paragraph, a character tag every dozen words or so, now
// and then an escaped character or an index entry.
const std::string& sourceFile() {
    static const std::string path = [] {
        std::mt19937 random(11);
        std::string text = "<PMTags1.0 win><@Body=<f\"Times New Roman\"><s10>>\n";
        text.reserve(kFileSize + 512);
        const char* words[] = {"the ", "quick ",    "caf\xE9 ", "translation ", "text ",  "of ",
                               "a ",   "document ", "with ",    "several ",     "words ", "in "};
        const char* tags[] = {"<B>", "<P>", "<f\"Arial\">", "<f$> ", "\\<", "<*INDEX \"entry\">"};
        while (text.size() < kFileSize) {
            text += random() % 4 == 0 ? "<@Heading:>" : "<@Body:>";
            std::size_t length = 200 + random() % 600;
            std::size_t start = text.size();
            while (text.size() - start < length) {
                text += random() % 12 == 0 ? tags[random() % 6] : words[random() % 12];
            }
            text += "\n";
        }
        std::string file = scratchPath("pagemaker-source.txt");
        writeBytes(file, text);
        return file;
    }();
    return path;
}

void BM_PlainCopy(benchmark::State& state) {
    const std::string& source = sourceFile();
    std::string target = scratchPath("pagemaker-copy.out");
    for (auto _ : state) plainCopy(source, target);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

void BM_PageMakerToRtf(benchmark::State& state) {
    const std::string& source = sourceFile();
    std::string output = scratchPath("pagemaker-source.RTF");
    int result = 0;
    for (auto _ : state) {
        result = f_iPageMaker2RTF(source.c_str());
        state.PauseTiming();
        removeIfPresent(output);
        state.ResumeTiming();
    }
    state.counters["runs"] = result;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageMakerToRtf)->Unit(benchmark::kMillisecond);

}  // namespace
