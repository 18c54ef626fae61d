// Throughput of the QuarkXPress, Ventura 4 and Ventura 5-7 mark-up jobs on
// generated 10 MB files, each next to a plain copy and to the reference pass
// of the same file in the same run. Rates are by wall-clock time, because the
// reference pass runs as a program of its own.
#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <random>

#include "support/bench_files.h"
#include "support/reference_pass.h"
#include "tessel_cat.h"

namespace {

using namespace tessel::bench;

constexpr std::size_t kFileSize = 10 * 1024 * 1024;

const char* const kWords[] = {"the ",   "quick ", "caf\xE9 ",  "translation ", "text ",
                              "of ",    "a ",     "document ", "with ",        "several ",
                              "words ", "in ",    "menu ",     "season ",      "kitchen "};

std::string words(std::mt19937& random, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += kWords[random() % std::size(kWords)];
    return text;
}

// QuarkXPress: a style sheet application per paragraph line, a character tag
// every dozen words or so, now and then a literal character tag or a reset.
std::string quarkText() {
    std::mt19937 random(13);
    std::string text =
        "<v1.70><e1>\r\n@Normal=[S\"\",\"Normal\"]<*L*h\"Standard\"Ps100f\"Times\">\r\n";
    const char* tags[] = {"<B>", "<I>", "<f\"Arial\">", "<$>", "<\\#183>", "<z10>"};
    while (text.size() < kFileSize) {
        text += random() % 4 == 0 ? "@Heading:" : "@Normal:";
        std::size_t length = 200 + random() % 600;
        std::size_t start = text.size();
        while (text.size() - start < length) {
            text += random() % 12 == 0 ? tags[random() % std::size(tags)] : words(random, 1);
        }
        text += "\r\n";
    }
    return text;
}

// Ventura: paragraphs with a paragraph tag, codes every dozen words or so,
// footnotes now and then, and a small table every fifty paragraphs. Version
// 4 wraps running text at about 70 columns; versions 5 to 7 keep a paragraph
// on one line and write tables by lines.
std::string venturaText(bool version4) {
    std::mt19937 random(17);
    std::string text;
    const char* codes[] = {"<B>", "<D>", "<I>", "<<", ">>", "<@183>", "<$Fa note>", "<$Ientry>"};
    std::string rowEnd = version4 ? "\r\n\r\n" : "\r\n";
    int paragraphs = 0;
    while (text.size() < kFileSize) {
        if (++paragraphs % 50 == 0) {
            text += "@Z_TBL_BEG = " + std::string(version4 ? "" : "VERSION(2), ") +
                    "COLUMNS(3), DIMENSION(IN)" + rowEnd;
            text += "@Z_TBL_BODY = TABLE TEXT, TABLE TEXT, TABLE TEXT" + rowEnd;
            for (int row = 0; row < 4; ++row) text += "Soup, 4.50,, <B>hot<D>" + rowEnd;
            text += "@Z_TBL_END = \r\n\r\n";
        }
        text += random() % 4 == 0 ? "@HEADING = " : "@BODY TEXT = ";
        std::size_t length = 200 + random() % 600;
        std::size_t start = text.size();
        std::size_t lineStart = start;
        while (text.size() - start < length) {
            // A word after each code: "<B>>>" would read as "<B" and ">>".
            if (random() % 12 == 0) text += codes[random() % std::size(codes)];
            text += words(random, 1);
            if (version4 && text.size() - lineStart > 70) {
                text += "\r\n";
                lineStart = text.size();
            }
        }
        text += "\r\n\r\n";
    }
    return text;
}

struct Converter {
    const char* name;
    std::function<std::string()> generate;
    int (*markUp)(const char*);
};

const Converter kQuark{"quark", quarkText, f_iXPress2RTF};
const Converter kVentura4{"ventura4", [] { return venturaText(true); }, f_iVentura4toRTF};
const Converter kVentura{"ventura", [] { return venturaText(false); }, f_iVentura567toRTF};

// The generated input of a converter, written once per run.
const std::string& sourceFile(const Converter& converter) {
    static std::map<std::string, std::string> files;
    auto found = files.find(converter.name);
    if (found != files.end()) return found->second;
    std::string path = scratchPath(std::string(converter.name) + "-source.txt");
    writeBytes(path, converter.generate());
    return files.emplace(converter.name, path).first->second;
}

void BM_PlainCopy(benchmark::State& state, const Converter& converter) {
    const std::string& source = sourceFile(converter);
    std::string target = scratchPath(std::string(converter.name) + "-copy.out");
    for (auto _ : state) plainCopy(source, target);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

void BM_ReferencePass(benchmark::State& state, const Converter& converter) {
    if (!referencePassAvailable()) {
        state.SkipWithError("the reference pass program was not built");
        return;
    }
    const std::string& source = sourceFile(converter);
    std::string target = scratchPath(std::string(converter.name) + "-reference.out");
    for (auto _ : state) {
        if (!runReferencePass(source, target)) {
            state.SkipWithError("the reference pass failed");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

void BM_MarkUp(benchmark::State& state, const Converter& converter) {
    const std::string& source = sourceFile(converter);
    std::string output = scratchPath(std::string(converter.name) + "-source.RTF");
    removeIfPresent(output);
    int result = 0;
    for (auto _ : state) {
        result = converter.markUp(source.c_str());
        state.PauseTiming();
        removeIfPresent(output);
        state.ResumeTiming();
    }
    if (result < 0) state.SkipWithError("the mark-up failed");
    state.counters["runs"] = result;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

BENCHMARK_CAPTURE(BM_PlainCopy, quark, kQuark)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ReferencePass, quark, kQuark)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_MarkUp, quark, kQuark)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_PlainCopy, ventura4, kVentura4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ReferencePass, ventura4, kVentura4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_MarkUp, ventura4, kVentura4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_PlainCopy, ventura, kVentura)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ReferencePass, ventura, kVentura)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_MarkUp, ventura, kVentura)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
