// A batch run in worker processes (-j N): the tool starts N copies of its own
// executable with the same command line, gives each its share of the files
// and collects one record per file, which the starting process reports in
// the batch's order. The library keeps its job state per process, so the
// files are converted in processes, not threads. Worker processes exist only
// on POSIX systems; elsewhere the batch runs in one process.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "file_arguments.h"
#include "worker_frames.h"

namespace tessel::cli {

// The number of processors, at least 1.
std::size_t processorCount();

// This process is a worker started by another run of the tool.
bool inWorkerProcess();
// A worker's files, read from its standard input until its end.
std::vector<AssignedFile> readAssignedFiles();
// Sends one file's record to the process that started this worker; false
// when it can no longer be sent.
bool sendRecord(const FileRecord& record);

class WorkerPool {
  public:
    // Starts `count` workers running `commandLine` (the arguments after the
    // program name) on their share of `files`; nothing when they cannot be
    // started, and the batch then runs in this process.
    static std::unique_ptr<WorkerPool> start(const std::vector<std::string>& commandLine,
                                             const std::vector<BatchFile>& files,
                                             std::size_t count);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // The record of file `index`, waiting for it; nothing when its worker
    // ended without sending it.
    std::optional<FileRecord> recordOf(std::size_t index);

  private:
    struct Worker {
        int pid = -1;
        int records = -1;  // read end of the worker's standard output
        FrameReader reader = recordReader();
    };

    WorkerPool() = default;
    // Reads what the workers sent until one more record or end arrives;
    // false when every worker has ended.
    bool receive();

    std::vector<Worker> workers_;
    std::map<std::size_t, FileRecord> received_;
};

}  // namespace tessel::cli
