// The yardstick every benchmark is read against: the shared reference pass
// (read, map each byte through a table, write) run in this process on the
// same input, interleaved with the job so both see the same load, both timed
// by the same clock: this process's processor time (user and system), which
// leaves out what other programs on a shared machine take.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <functional>
#include <string>

namespace tessel::bench {

// False when the benchmarks were built without the reference pass source.
bool referencePassAvailable();

// Processor seconds of one reference pass over `input`; negative when it is
// not available or fails.
double referencePassSeconds(const std::string& input);

struct Measurement {
    std::size_t bytes = 0;
    double jobSeconds = 0;        // median of the rounds
    double referenceSeconds = 0;  // median of the rounds; 0 when unavailable
    double share = -1;            // median of the rounds' shares, in %
    bool failed = false;

    double megabytesPerSecond() const;
    double referenceMegabytesPerSecond() const;
    // The job's throughput as a share of the reference pass (the median of
    // the rounds' shares), or a negative value when the reference pass is
    // not available.
    double percentOfReference() const;
};

// Runs `rounds` rounds of one reference pass and one job run over `input`
// (`between` runs untimed after each job run) and keeps the medians.
Measurement measure(const std::string& input, int rounds, const std::function<bool()>& job,
                    const std::function<void()>& between);

// The same for a Google benchmark: each iteration is a round; the job's time
// is the iteration's time (register with UseManualTime), and the counters
// give its MB/s, the reference pass's and the share.
void measureIterations(benchmark::State& state, const std::string& input,
                       const std::function<bool()>& job, const std::function<void()>& between);

}  // namespace tessel::bench
