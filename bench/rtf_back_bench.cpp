// Throughput of the RTF-back jobs on a generated 10 MB tagged RTF file in
// our mark-up's form, next to a plain copy of the same file.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "resources/rtf_texts.h"
#include "support/bench_files.h"
#include "tessel_cat.h"

namespace {

using namespace tessel::bench;

constexpr std::size_t kFileSize = 10 * 1024 * 1024;

// Paragraphs of translated text with internal and external tag runs,
// escaped characters, hex bytes of accented letters and 8-bit bytes.
const std::string& sourceFile() {
    static const std::string path = [] {
        std::mt19937 random(11);
        const char* pieces[] = {
            "the ",
            "translated ",
            "caf\xE9 ",
            "\\'e9t\\'e9 ",
            "{\\cs6\\cf6\\f1\\lang1024 <b>}",
            "{\\cs6\\cf6\\f1\\lang1024 </b>}",
            "{\\cs6\\cf6\\f1\\lang1024 <a href=\"page.htm\">}",
            "\\ldblquote quoted\\rdblquote  ",
            "\\{braces\\} ",
            "text\\tab ",
            "d\xE9j\xE0 vu ",
            "\\endash  ",
            "sentence. ",
        };
        std::string rtf(tessel::resources::kRtfHeader);
        rtf.reserve(kFileSize + 512);
        while (rtf.size() < kFileSize) {
            rtf += "{\\cs5\\cf15\\f1\\lang1024 <p>}";
            std::size_t length = 40 + random() % 300;
            std::size_t start = rtf.size();
            while (rtf.size() - start < length) rtf += pieces[random() % std::size(pieces)];
            rtf += "{\\cs5\\cf15\\f1\\lang1024 </p>}\\par \n";
        }
        rtf += "}";
        std::string file = scratchPath("rtf-back-source.rtf");
        writeBytes(file, rtf);
        return file;
    }();
    return path;
}

std::size_t sourceSize() {
    static const std::size_t size = [] {
        std::FILE* file = std::fopen(sourceFile().c_str(), "rb");
        std::fseek(file, 0, SEEK_END);
        long size = std::ftell(file);
        std::fclose(file);
        return static_cast<std::size_t>(size);
    }();
    return size;
}

template <int (*Export)(const char*, const char*)>
void runExport(benchmark::State& state) {
    const std::string& source = sourceFile();
    std::string output = source.substr(0, source.size() - 3) + "out";
    for (auto _ : state) {
        int result = Export(source.c_str(), ".out");
        if (result < 0) state.SkipWithError("conversion failed");
        state.PauseTiming();
        removeIfPresent(output);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * sourceSize()));
}

void BM_PlainCopy(benchmark::State& state) {
    const std::string& source = sourceFile();
    std::string target = scratchPath("rtf-back-copy.out");
    for (auto _ : state) plainCopy(source, target);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * sourceSize()));
}

BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(runExport<f_iRTF2Text>)->Name("BM_RTF2Text")->Unit(benchmark::kMillisecond);
BENCHMARK(runExport<f_iRTF2HTML>)->Name("BM_RTF2HTML")->Unit(benchmark::kMillisecond);

}  // namespace
