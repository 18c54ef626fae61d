#include "job_workers.h"

#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

extern char** environ;
#endif

namespace tessel::cli {

namespace {

// Set in the environment of the workers: the command line is a worker's.
constexpr const char* kWorkerVariable = "TESSEL_JOB_WORKER";

}  // namespace

std::size_t processorCount() {
    unsigned count = std::thread::hardware_concurrency();
    return count == 0 ? 1 : count;
}

#ifdef _WIN32

bool inWorkerProcess() {
    return false;
}

std::vector<AssignedFile> readAssignedFiles() {
    return {};
}

bool sendRecord(const FileRecord&) {
    return false;
}

std::unique_ptr<WorkerPool> WorkerPool::start(const std::vector<std::string>&,
                                              const std::vector<BatchFile>&, std::size_t) {
    return nullptr;
}

WorkerPool::~WorkerPool() = default;

std::optional<FileRecord> WorkerPool::recordOf(std::size_t) {
    return std::nullopt;
}

bool WorkerPool::receive() {
    return false;
}

#else

namespace {

bool writeAll(int fd, const std::string& bytes, bool toSocket) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        // A socket takes MSG_NOSIGNAL: a worker that ended must not end the
        // starting process with SIGPIPE.
        ssize_t written = toSocket
                              ? ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL)
                              : ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

std::string ownExecutable() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

void closeIfOpen(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

bool inWorkerProcess() {
    const char* value = std::getenv(kWorkerVariable);
    return value != nullptr && std::strcmp(value, "1") == 0;
}

std::vector<AssignedFile> readAssignedFiles() {
    FrameReader reader = assignmentReader();
    std::vector<AssignedFile> files;
    char buffer[65536];
    for (;;) {
        ssize_t size = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (size < 0 && errno == EINTR) continue;
        if (size <= 0) break;
        reader.feed(buffer, static_cast<std::size_t>(size));
        while (std::optional<Frame> frame = reader.next()) {
            if (std::optional<AssignedFile> file = assignmentFrom(*frame)) {
                files.push_back(std::move(*file));
            }
        }
    }
    return files;
}

bool sendRecord(const FileRecord& record) {
    return writeAll(STDOUT_FILENO, encodeRecord(record), false);
}

std::unique_ptr<WorkerPool> WorkerPool::start(const std::vector<std::string>& commandLine,
                                              const std::vector<BatchFile>& files,
                                              std::size_t count) {
    const std::string executable = ownExecutable();
    if (executable.empty() || count < 2) return nullptr;
    std::vector<char*> argv{const_cast<char*>(executable.c_str())};
    for (const std::string& arg : commandLine) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::string marker = std::string(kWorkerVariable) + "=1";
    std::vector<char*> envp;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (std::strncmp(*variable, marker.c_str(), std::strlen(kWorkerVariable) + 1) != 0) {
            envp.push_back(*variable);
        }
    }
    envp.push_back(marker.data());
    envp.push_back(nullptr);

    std::vector<std::size_t> workerOf = assignWorkers(files, count);
    std::unique_ptr<WorkerPool> pool(new WorkerPool());
    std::vector<int> assignments;
    for (std::size_t w = 0; w < count; ++w) {
        int channel[2];
        int records[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, channel) != 0) break;
        if (::pipe2(records, O_CLOEXEC) != 0) {
            ::close(channel[0]);
            ::close(channel[1]);
            break;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, channel[1], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, records[1], STDOUT_FILENO);
        pid_t pid = -1;
        int spawned =
            ::posix_spawn(&pid, executable.c_str(), &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        ::close(channel[1]);
        ::close(records[1]);
        if (spawned != 0) {
            ::close(channel[0]);
            ::close(records[0]);
            break;
        }
        Worker worker;
        worker.pid = pid;
        worker.records = records[0];
        pool->workers_.push_back(std::move(worker));
        assignments.push_back(channel[0]);
    }
    if (pool->workers_.size() < count) {
        // Not every worker started: the batch runs here; the ones that did
        // get no files and end.
        for (int& fd : assignments) closeIfOpen(fd);
        return nullptr;
    }
    std::vector<std::string> shares(count);
    for (std::size_t i = 0; i < files.size(); ++i) {
        shares[workerOf[i]] += encodeAssignment(AssignedFile{i, files[i]});
    }
    for (std::size_t w = 0; w < count; ++w) {
        // A worker that ended sends no records: its files are reported as
        // not converted.
        writeAll(assignments[w], shares[w], true);
        closeIfOpen(assignments[w]);
    }
    return pool;
}

WorkerPool::~WorkerPool() {
    for (Worker& worker : workers_) {
        closeIfOpen(worker.records);
        int status = 0;
        while (::waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
}

bool WorkerPool::receive() {
    std::vector<pollfd> open;
    std::vector<Worker*> owners;
    for (Worker& worker : workers_) {
        if (worker.records < 0) continue;
        open.push_back(pollfd{worker.records, POLLIN, 0});
        owners.push_back(&worker);
    }
    if (open.empty()) return false;
    if (::poll(open.data(), open.size(), -1) < 0) return errno == EINTR;
    char buffer[65536];
    for (std::size_t i = 0; i < open.size(); ++i) {
        if (open[i].revents == 0) continue;
        Worker& worker = *owners[i];
        ssize_t size = ::read(worker.records, buffer, sizeof buffer);
        if (size < 0 && errno == EINTR) continue;
        if (size <= 0) {
            closeIfOpen(worker.records);
            continue;
        }
        worker.reader.feed(buffer, static_cast<std::size_t>(size));
        while (std::optional<Frame> frame = worker.reader.next()) {
            if (std::optional<FileRecord> record = recordFrom(*frame)) {
                std::size_t index = record->index;
                received_.insert_or_assign(index, std::move(*record));
            }
        }
        // What cannot be read as records ends that worker's share.
        if (worker.reader.broken()) closeIfOpen(worker.records);
    }
    return true;
}

std::optional<FileRecord> WorkerPool::recordOf(std::size_t index) {
    for (;;) {
        auto found = received_.find(index);
        if (found != received_.end()) {
            FileRecord record = std::move(found->second);
            received_.erase(found);
            return record;
        }
        if (!receive()) return std::nullopt;
    }
}

#endif

}  // namespace tessel::cli
