// What the tool's worker processes and the process that started them say to
// each other: frames of a header line of decimal numbers followed by byte
// fields whose lengths the header gives (-1: the field is absent). The parent
// sends each worker its files; a worker answers with one record per file,
// holding what a serial run would have written about it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "file_arguments.h"
#include "file_report.h"

namespace tessel::cli {

struct Frame {
    std::vector<long long> numbers;
    std::vector<std::optional<std::string>> fields;
};

std::string encodeFrame(const Frame& frame);

// Cuts frames of `numberCount` numbers and `fieldCount` fields out of the
// bytes fed to it, as they arrive.
class FrameReader {
  public:
    FrameReader(std::size_t numberCount, std::size_t fieldCount)
        : numberCount_(numberCount), fieldCount_(fieldCount) {}

    void feed(const char* bytes, std::size_t size) { buffer_.append(bytes, size); }
    // The next whole frame; nothing while it is incomplete. A malformed
    // header sets broken() and yields nothing more.
    std::optional<Frame> next();
    bool broken() const { return broken_; }
    // Bytes fed but not yet taken as a frame.
    bool pending() const { return buffer_.size() > start_; }

  private:
    std::size_t numberCount_;
    std::size_t fieldCount_;
    std::string buffer_;
    std::size_t start_ = 0;
    bool broken_ = false;
};

// One file given to a worker: its place in the batch and the file itself.
struct AssignedFile {
    std::size_t index = 0;
    BatchFile file;
};

std::string encodeAssignment(const AssignedFile& file);
std::optional<AssignedFile> assignmentFrom(const Frame& frame);
inline FrameReader assignmentReader() {
    return FrameReader(1, 2);
}

// What a worker reports of one file: the fields the run's counts need and
// the exact bytes the serial tool writes about it on each stream.
struct FileRecord {
    std::size_t index = 0;
    FileStatus status = FileStatus::Failed;
    bool countedRead = false;
    bool outputCreated = false;
    std::optional<std::string> errorLogPath;
    std::string out;
    std::string err;
};

std::string encodeRecord(const FileRecord& record);
std::optional<FileRecord> recordFrom(const Frame& frame);
inline FrameReader recordReader() {
    return FrameReader(4, 3);
}

// The worker (0 to workers - 1) of each file: files whose outputs could
// take one name (the same file name without its extension, in any case) go
// to one worker, which converts them in the batch's order as the serial run
// does; the groups are spread over the workers by the bytes to convert.
std::vector<std::size_t> assignWorkers(const std::vector<BatchFile>& files, std::size_t workers);

}  // namespace tessel::cli
