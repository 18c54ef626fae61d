#include "worker_frames.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <system_error>

#include "platform/path_names.h"

namespace tessel::cli {

std::string encodeFrame(const Frame& frame) {
    std::string header;
    for (long long number : frame.numbers) header += std::to_string(number) + " ";
    for (const std::optional<std::string>& field : frame.fields) {
        header += (field ? std::to_string(field->size()) : std::string("-1")) + " ";
    }
    header.back() = '\n';
    for (const std::optional<std::string>& field : frame.fields) {
        if (field) header += *field;
    }
    return header;
}

std::optional<Frame> FrameReader::next() {
    if (broken_) return std::nullopt;
    std::size_t lineEnd = buffer_.find('\n', start_);
    if (lineEnd == std::string::npos) return std::nullopt;
    std::vector<long long> values;
    const char* at = buffer_.data() + start_;
    const char* end = buffer_.data() + lineEnd;
    while (at < end) {
        long long value = 0;
        auto [stop, error] = std::from_chars(at, end, value);
        if (error != std::errc() || (stop != end && *stop != ' ')) {
            broken_ = true;
            return std::nullopt;
        }
        values.push_back(value);
        at = stop == end ? end : stop + 1;
    }
    if (values.size() != numberCount_ + fieldCount_) {
        broken_ = true;
        return std::nullopt;
    }
    std::size_t needed = 0;
    for (std::size_t i = numberCount_; i < values.size(); ++i) {
        if (values[i] < -1) {
            broken_ = true;
            return std::nullopt;
        }
        if (values[i] > 0) needed += static_cast<std::size_t>(values[i]);
    }
    if (buffer_.size() - (lineEnd + 1) < needed) return std::nullopt;
    Frame frame;
    frame.numbers.assign(values.begin(),
                         values.begin() + static_cast<std::ptrdiff_t>(numberCount_));
    std::size_t fieldAt = lineEnd + 1;
    for (std::size_t i = numberCount_; i < values.size(); ++i) {
        if (values[i] < 0) {
            frame.fields.emplace_back();
            continue;
        }
        std::size_t size = static_cast<std::size_t>(values[i]);
        frame.fields.emplace_back(buffer_.substr(fieldAt, size));
        fieldAt += size;
    }
    start_ = fieldAt;
    // The taken bytes go once they are most of the buffer.
    if (start_ > 65536 && start_ * 2 > buffer_.size()) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    return frame;
}

std::string encodeAssignment(const AssignedFile& file) {
    return encodeFrame(
        {{static_cast<long long>(file.index)}, {file.file.path, file.file.subfolder}});
}

std::optional<AssignedFile> assignmentFrom(const Frame& frame) {
    if (frame.numbers.size() != 1 || frame.fields.size() != 2 || frame.numbers[0] < 0 ||
        !frame.fields[0] || !frame.fields[1]) {
        return std::nullopt;
    }
    return AssignedFile{static_cast<std::size_t>(frame.numbers[0]),
                        BatchFile{*frame.fields[0], *frame.fields[1]}};
}

std::string encodeRecord(const FileRecord& record) {
    return encodeFrame(
        {{static_cast<long long>(record.index), static_cast<long long>(record.status),
          record.countedRead ? 1 : 0, record.outputCreated ? 1 : 0},
         {record.errorLogPath, record.out, record.err}});
}

std::optional<FileRecord> recordFrom(const Frame& frame) {
    if (frame.numbers.size() != 4 || frame.fields.size() != 3 || frame.numbers[0] < 0 ||
        frame.numbers[1] < 0 || frame.numbers[1] > static_cast<long long>(FileStatus::Failed) ||
        !frame.fields[1] || !frame.fields[2]) {
        return std::nullopt;
    }
    FileRecord record;
    record.index = static_cast<std::size_t>(frame.numbers[0]);
    record.status = static_cast<FileStatus>(frame.numbers[1]);
    record.countedRead = frame.numbers[2] != 0;
    record.outputCreated = frame.numbers[3] != 0;
    record.errorLogPath = frame.fields[0];
    record.out = *frame.fields[1];
    record.err = *frame.fields[2];
    return record;
}

namespace {

std::string lowercaseStem(const std::string& path) {
    std::string stem = platform::nameOf(platform::pathOf(path).stem());
    for (char& c : stem) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return stem;
}

std::uintmax_t sizeOf(const std::string& path) {
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(platform::pathOf(path), error);
    return error ? 0 : size;
}

}  // namespace

std::vector<std::size_t> assignWorkers(const std::vector<BatchFile>& files, std::size_t workers) {
    std::vector<std::size_t> workerOf(files.size(), 0);
    if (workers <= 1) return workerOf;
    std::map<std::string, std::size_t> groupWorker;
    // Every file counts a little beyond its bytes: the job has a cost of its own.
    constexpr std::uintmax_t kCostOfAFile = 4096;
    std::vector<std::uintmax_t> load(workers, 0);
    for (std::size_t i = 0; i < files.size(); ++i) {
        auto [group, isNew] = groupWorker.try_emplace(lowercaseStem(files[i].path), 0);
        if (isNew) {
            group->second =
                static_cast<std::size_t>(std::min_element(load.begin(), load.end()) - load.begin());
        }
        workerOf[i] = group->second;
        load[group->second] += sizeOf(files[i].path) + kCostOfAFile;
    }
    return workerOf;
}

}  // namespace tessel::cli
