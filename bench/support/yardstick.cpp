#include "support/yardstick.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "support/bench_files.h"

#ifdef TESSEL_HAVE_REFERENCE_PASS
// The shared reference program, compiled with its main renamed.
int tesselReferencePassMain(int argc, char** argv);
#endif

namespace tessel::bench {

namespace {

// The processor time of this process (user and system): the reference pass
// and the jobs run in this one process, so the clock counts both alike and
// leaves out the time other programs on a loaded machine take.
double processSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double secondsSince(double start) {
    return processSeconds() - start;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::size_t fileSize(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? static_cast<std::size_t>(status.st_size) : 0;
}

// The reference program prints a checksum on standard output; it is sent to
// /dev/null for the call so the figures' output stays readable.
class QuietStdout {
  public:
    QuietStdout() {
        std::fflush(stdout);
        saved_ = ::dup(1);
        int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0) {
            ::dup2(null, 1);
            ::close(null);
        }
    }
    ~QuietStdout() {
        std::fflush(stdout);
        if (saved_ >= 0) {
            ::dup2(saved_, 1);
            ::close(saved_);
        }
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

  private:
    int saved_ = -1;
};

double megabytesPerSecond(std::size_t bytes, double seconds) {
    return seconds > 0 ? static_cast<double>(bytes) / 1e6 / seconds : 0;
}

}  // namespace

bool referencePassAvailable() {
#ifdef TESSEL_HAVE_REFERENCE_PASS
    return true;
#else
    return false;
#endif
}

double referencePassSeconds(const std::string& input) {
#ifdef TESSEL_HAVE_REFERENCE_PASS
    static const std::string output = scratchPath("reference-pass.out");
    std::string program = "byteloop";
    std::string in = input;
    std::string out = output;
    char* argv[] = {program.data(), in.data(), out.data(), nullptr};
    QuietStdout quiet;
    double start = processSeconds();
    int result = tesselReferencePassMain(3, argv);
    double seconds = secondsSince(start);
    return result == 0 ? seconds : -1;
#else
    (void)input;
    return -1;
#endif
}

double Measurement::megabytesPerSecond() const {
    return tessel::bench::megabytesPerSecond(bytes, jobSeconds);
}

double Measurement::referenceMegabytesPerSecond() const {
    return tessel::bench::megabytesPerSecond(bytes, referenceSeconds);
}

double Measurement::percentOfReference() const {
    return share;
}

namespace {

// The times of the rounds, in pairs of one reference pass and one job run.
class Rounds {
  public:
    void add(double reference, double job) {
        jobTimes_.push_back(job);
        if (reference <= 0) return;
        referenceTimes_.push_back(reference);
        if (job > 0) shares_.push_back(100 * reference / job);
    }

    // The medians; the share is the median of the rounds' own shares, so a
    // round that a busy machine slowed counts once, for both passes alike.
    Measurement result(std::size_t bytes, bool failed) const {
        Measurement m;
        m.bytes = bytes;
        m.jobSeconds = median(jobTimes_);
        m.referenceSeconds = median(referenceTimes_);
        m.share = shares_.empty() ? -1 : median(shares_);
        m.failed = failed;
        return m;
    }

  private:
    std::vector<double> jobTimes_;
    std::vector<double> referenceTimes_;
    std::vector<double> shares_;
};

}  // namespace

Measurement measure(const std::string& input, int rounds, const std::function<bool()>& job,
                    const std::function<void()>& between) {
    Rounds times;
    bool failed = false;
    for (int round = 0; round < rounds && !failed; ++round) {
        double reference = referencePassSeconds(input);
        double start = processSeconds();
        failed = !job();
        times.add(reference, secondsSince(start));
        between();
    }
    return times.result(fileSize(input), failed);
}

void measureIterations(benchmark::State& state, const std::string& input,
                       const std::function<bool()>& job, const std::function<void()>& between) {
    Rounds times;
    for (auto _ : state) {
        // The reference pass runs outside the measured time of the iteration.
        double reference = referencePassSeconds(input);
        double start = processSeconds();
        bool ok = job();
        double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        times.add(reference, seconds);
        between();
        if (!ok) {
            state.SkipWithError("the job failed");
            return;
        }
    }
    Measurement result = times.result(fileSize(input), false);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * result.bytes));
    state.counters["MB/s"] = result.megabytesPerSecond();
    state.counters["ref_MB/s"] = result.referenceMegabytesPerSecond();
    state.counters["%ref"] = result.percentOfReference();
}

}  // namespace tessel::bench
