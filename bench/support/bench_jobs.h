// Every job the benchmarks measure, with the input it is measured on: the
// line engine, the HTML and SGML mark-up, each RTF back-conversion, each
// grammar-driven mark-up and the charset step, and lexing plus parsing with
// each grammar. The table program and the Google benchmarks share it.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tessel::bench {

struct Job {
    std::string name;
    // The input's kind (several jobs share one generated file) and its name.
    std::string inputKind;
    std::string fileName;
    std::function<std::string(std::size_t size)> generate;
    // Runs the job on the input at `path`; false when it failed.
    std::function<bool(const std::string& path)> run;
    // The job rewrites its input: each run gets a fresh copy, made untimed.
    bool inPlace = false;
    // The share of the reference pass the job is meant to reach, or 0.
    double targetPercent = 0;
};

const std::vector<Job>& allJobs();
const Job* findJob(const std::string& name);

// The job's generated input of `size` bytes, written once per run into a
// folder of its own (so the job's outputs can be swept away after a run).
const std::string& jobInput(const Job& job, std::size_t size);

// Remembers what is beside an input, so that what a run of a job adds there
// (its outputs and logs) can be swept away afterwards.
class OutputSweeper {
  public:
    explicit OutputSweeper(const std::string& inputPath);
    // Removes every file beside the input that was not there at the start.
    void sweep() const;

  private:
    std::string folder_;
    std::vector<std::string> before_;
};

// Deletes the generated inputs of `size` bytes (the 100 MB files are large).
void dropInputs(std::size_t size);

// The path a job runs on: the input itself, or for an in-place job a fresh
// copy of it beside the input.
std::string prepareRun(const Job& job, const std::string& inputPath);

}  // namespace tessel::bench
