// Throughput of the XLIFF jobs on the benchmark inputs (10 MB each, or
// TESSEL_XLIFF_BENCH_MB): extraction of the HTML page and the PageMaker
// story as XLIFF 1.2, and the merge of that XLIFF back (every target a copy
// of its source), each as a share of the reference pass over the source.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/xliff_jobs.h"
#include "support/bench_files.h"
#include "support/bench_inputs.h"
#include "support/yardstick.h"

namespace {

namespace fs = std::filesystem;
using namespace tessel;

std::size_t inputSize() {
    const char* megabytes = std::getenv("TESSEL_XLIFF_BENCH_MB");
    long value = megabytes != nullptr ? std::atol(megabytes) : 10;
    return static_cast<std::size_t>(value > 0 ? value : 10) << 20;
}

struct Source {
    std::string format;
    std::string path;
};

// The source in a folder of its own, written once.
const Source& source(const std::string& format) {
    static Source html{"html", ""};
    static Source pagemaker{"pagemaker", ""};
    Source& wanted = format == "html" ? html : pagemaker;
    if (wanted.path.empty()) {
        fs::path folder = bench::scratchPath("xliff-" + format);
        fs::create_directories(folder);
        wanted.path = (folder / (format == "html" ? "page.htm" : "story.txt")).string();
        bench::writeBytes(wanted.path, format == "html" ? bench::htmlPage(inputSize())
                                                        : bench::pageMakerText(inputSize()));
    }
    return wanted;
}

std::string xliffOf(const Source& from) {
    return fs::path(from.path).replace_extension(".xlf").string();
}

void BM_Extract(benchmark::State& state, const std::string& format) {
    const Source& from = source(format);
    bench::measureIterations(
        state, from.path,
        [&] {
            return app::extractXliff(app::XliffJob{from.format, from.path, from.path, ""}) != -115;
        },
        [&] { fs::remove(xliffOf(from)); });
}

// The merge of the extracted XLIFF, each target its source as extracted
// (so every unit is counted as untranslated and the job ends with -113).
void BM_Merge(benchmark::State& state, const std::string& format) {
    const Source& from = source(format);
    fs::remove(xliffOf(from));
    app::extractXliff(app::XliffJob{from.format, from.path, from.path, ""});
    fs::path folder = fs::path(from.path).parent_path() / "merge";
    fs::create_directories(folder);
    std::string xlf = (folder / fs::path(xliffOf(from)).filename()).string();
    fs::copy_file(xliffOf(from), xlf, fs::copy_options::overwrite_existing);
    auto sweep = [&] {
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path() != xlf) fs::remove(entry.path());
        }
    };
    bench::measureIterations(
        state, from.path,
        [&] {
            int result = app::mergeXliff(app::XliffJob{from.format, xlf, from.path, ""});
            return result >= 0 || result == -113;
        },
        sweep);
    sweep();
}

BENCHMARK_CAPTURE(BM_Extract, html, std::string("html"))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Merge, html, std::string("html"))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Extract, pagemaker, std::string("pagemaker"))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Merge, pagemaker, std::string("pagemaker"))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
