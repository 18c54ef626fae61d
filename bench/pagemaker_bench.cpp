// Throughput of the PageMaker mark-up on a generated 10 MB tagged file, next
// to a plain copy of the same file.
#include <benchmark/benchmark.h>

#include <random>

#include "support/bench_files.h"
#include "tessel_cat.h"

namespace {

using namespace tessel::bench;

constexpr std::size_t kFileSize = 10 * 1024 * 1024;

// Paragraphs of prose with style sheet tags, character tags, escapes and
// index entries, as a PageMaker export has them.
const std::string& sourceFile() {
    static const std::string path = [] {
        std::mt19937 random(11);
        std::string text = "<PMTags1.0 win><@Body=<f\"Times New Roman\"><s10>>\n";
        text.reserve(kFileSize + 512);
        const char* pieces[] = {"the ",     "quick ",       "<B>bold<B> ", "caf\xE9 ",
                                "\\<x\\> ", "text ",        "of ",         "a ",
                                "document", "<f\"Arial\">", "<f$> ",       "<*INDEX \"entry\">"};
        while (text.size() < kFileSize) {
            text += random() % 4 == 0 ? "<@Heading:>" : "<@Body:>";
            std::size_t length = 60 + random() % 400;
            std::size_t start = text.size();
            while (text.size() - start < length) text += pieces[random() % 12];
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
