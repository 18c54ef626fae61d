// Every job of the benchmark table as a Google benchmark on its generated
// 10 MB input, each iteration next to the reference pass over the same file
// (counters MB/s, ref_MB/s and %ref). Select jobs with --benchmark_filter,
// e.g. --benchmark_filter='line engine'.
#include <benchmark/benchmark.h>

#include "support/bench_jobs.h"
#include "support/yardstick.h"

namespace {

using namespace tessel::bench;

constexpr std::size_t kFileSize = 10 * 1024 * 1024;

void BM_Job(benchmark::State& state, const Job* job) {
    const std::string& input = jobInput(*job, kFileSize);
    OutputSweeper sweeper(input);
    std::string path = prepareRun(*job, input);
    measureIterations(
        state, input, [&] { return job->run(path); },
        [&] {
            sweeper.sweep();
            path = prepareRun(*job, input);
        });
    sweeper.sweep();
}

const int registered = [] {
    for (const Job& job : allJobs()) {
        benchmark::RegisterBenchmark(job.name.c_str(), BM_Job, &job)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    return 0;
}();

}  // namespace
