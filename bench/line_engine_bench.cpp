// Throughput of the line engine (Macintosh to ANSI and line-break
// normalisation) on a generated 10 MB file, next to a plain copy.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "support/bench_files.h"
#include "tessel_cat.h"

namespace {

using namespace tessel::bench;

constexpr std::size_t kFileSize = 10 * 1024 * 1024;

// Prose-like lines of 20 to 120 bytes with Macintosh accented letters and
// mixed line ends.
const std::string& sourceFile() {
    static const std::string path = [] {
        std::mt19937 random(7);
        std::string text;
        text.reserve(kFileSize + 256);
        const char* words[] = {"the ", "quick ", "caf\x8E ", "na\x95ve ", "r\x8Esum\x8E ", "and ",
                               "\xD2quoted\xD3 ", "text ", "of ", "a ", "document ", "line "};
        const char* ends[] = {"\r", "\r\n", "\n"};
        while (text.size() < kFileSize) {
            std::size_t length = 20 + random() % 100;
            std::size_t start = text.size();
            while (text.size() - start < length) text += words[random() % 12];
            text += ends[random() % 3];
        }
        std::string file = scratchPath("engine-source.txt");
        writeBytes(file, text);
        return file;
    }();
    return path;
}

void runEngine(benchmark::State& state, int code) {
    const std::string& source = sourceFile();
    for (auto _ : state) {
        char path[260];
        std::strncpy(path, source.c_str(), sizeof path - 1);
        path[sizeof path - 1] = '\0';
        int result = funciTextReadWriteParser(path, code, 0, "out");
        benchmark::DoNotOptimize(result);
        state.PauseTiming();
        removeIfPresent(path);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

void BM_PlainCopy(benchmark::State& state) {
    const std::string& source = sourceFile();
    std::string target = scratchPath("engine-copy.out");
    for (auto _ : state) plainCopy(source, target);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

void BM_MacToAnsi610(benchmark::State& state) { runEngine(state, 610); }
void BM_LineBreaks613(benchmark::State& state) { runEngine(state, 613); }

BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MacToAnsi610)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineBreaks613)->Unit(benchmark::kMillisecond);

}  // namespace
