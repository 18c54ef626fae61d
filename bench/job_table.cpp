// One table of every job: throughput on a generated 10 MB input as MB/s and
// as a share of the reference pass over the same file in the same run, and
// the peak memory of a process that runs the job once on a 10 MB and on a
// 100 MB input (it must not grow with the file).
//
// Usage: job_table [--rounds N] [--only TEXT]... [--no-memory]
//        job_table --run-job NAME PATH [--keep-output]   (one run, for the memory
//            column; with --keep-output the outputs stay beside the input)
//        job_table --make-input NAME MB PATH   (a job's input, for profiling)
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "support/bench_files.h"
#include "support/bench_jobs.h"
#include "support/yardstick.h"

extern char** environ;

namespace {

using namespace tessel::bench;

constexpr std::size_t kMegabyte = 1024 * 1024;
constexpr std::size_t kSmall = 10 * kMegabyte;
constexpr std::size_t kLarge = 100 * kMegabyte;
constexpr const char* kReferenceName = "reference pass";

struct Options {
    int rounds = 5;
    std::vector<std::string> only;
    bool memory = true;
};

struct Row {
    const Job* job;
    Measurement speed;
    long peakSmallKb = -1;
    long peakLargeKb = -1;
};

bool selected(const Options& options, const Job& job) {
    if (options.only.empty()) return true;
    for (const std::string& text : options.only) {
        if (job.name.find(text) != std::string::npos) return true;
    }
    return false;
}

// Runs this program with --run-job in a process of its own and returns the
// peak resident memory that process reports, in KB, or -1 when it failed.
// The process reads its own high-water mark: the resource usage a parent
// gets back counts memory shared with the parent before the new program
// started, and this parent holds a 100 MB input.
long peakMemoryKb(const std::string& jobName, const std::string& input) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::string self = "/proc/self/exe";
    std::string flag = "--run-job";
    std::string name = jobName;
    std::string path = input;
    char* argv[] = {self.data(), flag.data(), name.data(), path.data(), nullptr};
    pid_t child = 0;
    int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    std::string report;
    char buffer[256];
    ssize_t n;
    while (spawned == 0 && (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
        report.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeEnds[0]);
    if (spawned != 0) return -1;
    int status = 0;
    if (::waitpid(child, &status, 0) != child) return -1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return report.empty() ? -1 : std::atol(report.c_str());
}

// This process's peak resident memory in KB (VmHWM), or -1.
long ownPeakMemoryKb() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) kb = std::atol(line + 6);
    }
    std::fclose(status);
    return kb;
}

// The child's side of peakMemoryKb: one run, then the peak on its output.
int runOnce(const std::string& name, const std::string& input, bool keepOutput) {
    bool ok = false;
    if (name == kReferenceName) {
        ok = referencePassSeconds(input) >= 0;
    } else if (const Job* job = findJob(name)) {
        OutputSweeper sweeper(input);
        ok = job->run(prepareRun(*job, input));
        if (!keepOutput) sweeper.sweep();
    } else {
        std::fprintf(stderr, "no such job: %s\n", name.c_str());
        return 2;
    }
    std::printf("%ld\n", ownPeakMemoryKb());
    return ok ? 0 : 1;
}

std::string megabytes(long kb) {
    if (kb < 0) return "failed";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(kb) / 1024);
    return text;
}

std::string percent(double value) {
    if (value < 0) return "n/a";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %%", value);
    return text;
}

void printTable(const std::vector<Row>& rows, const Options& options) {
    std::printf("%-34s %9s %9s %9s %8s %12s %12s\n", "job", "MB/s", "ref MB/s", "% of ref",
                "target", "peak 10 MB", "peak 100 MB");
    for (const Row& row : rows) {
        const Measurement& m = row.speed;
        std::string target =
            row.job->targetPercent > 0
                ? (m.percentOfReference() >= row.job->targetPercent ? ">=" : "< ") +
                      std::to_string(static_cast<int>(row.job->targetPercent))
                : "";
        std::printf("%-34s %9.1f %9.1f %9s %8s %12s %12s%s\n", row.job->name.c_str(),
                    m.megabytesPerSecond(), m.referenceMegabytesPerSecond(),
                    percent(m.percentOfReference()).c_str(), target.c_str(),
                    options.memory ? megabytes(row.peakSmallKb).c_str() : "-",
                    options.memory ? megabytes(row.peakLargeKb).c_str() : "-",
                    m.failed ? "  (the job failed)" : "");
    }
}

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--rounds" && i + 1 < argc) {
            options.rounds = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--only" && i + 1 < argc) {
            options.only.emplace_back(argv[++i]);
        } else if (arg == "--no-memory") {
            options.memory = false;
        } else {
            std::fprintf(stderr, "usage: job_table [--rounds N] [--only TEXT]... [--no-memory]\n");
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const bool keepOutput = argc == 5 && std::strcmp(argv[4], "--keep-output") == 0;
    if ((argc == 4 || keepOutput) && std::strcmp(argv[1], "--run-job") == 0) {
        return runOnce(argv[2], argv[3], keepOutput);
    }
    if (argc == 5 && std::strcmp(argv[1], "--make-input") == 0) {
        const Job* job = findJob(argv[2]);
        if (job == nullptr) return 2;
        writeBytes(argv[4], job->generate(std::strtoul(argv[3], nullptr, 10) * kMegabyte));
        return 0;
    }
    Options options;
    if (!parseOptions(argc, argv, options)) return 2;
    if (!referencePassAvailable()) {
        std::fprintf(stderr, "built without the reference pass: no shares can be given\n");
    }
    std::printf(
        "processor time of this process; %d rounds of (reference pass, job): median MB/s, median "
        "of the rounds' shares\n",
        options.rounds);
    std::vector<Row> rows;
    for (const Job& job : allJobs()) {
        if (!selected(options, job)) continue;
        const std::string& input = jobInput(job, kSmall);
        OutputSweeper sweeper(input);
        std::string path = prepareRun(job, input);
        Row row{&job, {}, -1, -1};
        row.speed = measure(
            input, options.rounds, [&] { return job.run(path); },
            [&] {
                sweeper.sweep();
                path = prepareRun(job, input);
            });
        sweeper.sweep();
        if (options.memory) row.peakSmallKb = peakMemoryKb(job.name, input);
        rows.push_back(row);
        std::fprintf(stderr, "%s: %.1f MB/s\n", job.name.c_str(), row.speed.megabytesPerSecond());
    }
    if (options.memory) {
        dropInputs(kSmall);
        const std::string* previousKind = nullptr;
        for (Row& row : rows) {
            // One kind of 100 MB input on disk at a time.
            if (previousKind && *previousKind != row.job->inputKind) dropInputs(kLarge);
            previousKind = &row.job->inputKind;
            row.peakLargeKb = peakMemoryKb(row.job->name, jobInput(*row.job, kLarge));
            std::fprintf(stderr, "%s: peak %s at 100 MB\n", row.job->name.c_str(),
                         megabytes(row.peakLargeKb).c_str());
        }
        dropInputs(kLarge);
    }
    printTable(rows, options);
    if (options.memory && !rows.empty()) {
        // What any process of this program takes: the floor of the column.
        const std::string& input = jobInput(*rows.front().job, kSmall);
        std::printf("%-34s %58s\n", "reference pass (peak)",
                    megabytes(peakMemoryKb(kReferenceName, input)).c_str());
        dropInputs(kSmall);
    }
    return 0;
}
