// Shared body of the whole-job fuzz targets: the input goes into a file of a
// private folder, a job runs on it through the library's exports, and the
// files around it are checked against what every job promises: it returns
// a code, the input and every other file it did not create stay as they
// were, it leaves only its own output and log, never an empty log, and a
// failed job leaves no output.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/message_box.h"

namespace tessel::fuzz {

namespace fs = std::filesystem;

using Files = std::map<std::string, std::string>;

// Aborts, so that libFuzzer keeps the input, with a note of what broke.
[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "job check failed: %s\n", what.c_str());
    std::abort();
}

inline void require(bool holds, const std::string& what) {
    if (!holds) fail(what);
}

inline std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The folder of one target in this process, removed when the process ends.
class JobFolder {
  public:
    explicit JobFolder(const char* tag) {
        std::string pattern = (fs::temp_directory_path() / "tessel-fuzz-").string() + tag;
        pattern += "-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) fail("no folder for the job");
        path_ = pattern;
    }
    ~JobFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    JobFolder(const JobFolder&) = delete;
    JobFolder& operator=(const JobFolder&) = delete;

    std::string file(std::string_view name) const { return (path_ / name).string(); }

    std::string write(std::string_view name, std::string_view bytes) const {
        std::string path = file(name);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) fail("could not write " + path);
        return path;
    }

    // Every file of the folder with its bytes.
    Files files() const {
        Files found;
        for (const auto& entry : fs::directory_iterator(path_)) {
            found[entry.path().filename().string()] = readAll(entry.path());
        }
        return found;
    }

    // Removes every file, for the next run.
    void clear() const {
        for (const auto& entry : fs::directory_iterator(path_)) {
            std::error_code ignored;
            fs::remove_all(entry.path(), ignored);
        }
    }

  private:
    fs::path path_;
};

// What a job may leave besides its inputs, and how its codes read.
struct JobOutcome {
    std::string output;  // the output's file name in the folder
    std::string log;     // the log's file name
    // Codes after which the output stays although the job failed (RTF that
    // cannot be read keeps the text up to the fault, with the log saying
    // where).
    std::vector<int> keepsOutput = {};
    // Every failure code the job may return besides -113.
    std::vector<int> failures = {};
    // Another file the job writes and may leave (a rewritten tag file is an
    // input and is checked by the target itself).
    std::string other = {};
};

inline bool among(int code, const std::vector<int>& codes) {
    for (int c : codes) {
        if (c == code) return true;
    }
    return false;
}

// Checks the folder after a job that returned `result` on `inputs`, then
// empties it of everything but the inputs.
inline void checkJob(const JobFolder& folder, const Files& inputs, int result,
                     const JobOutcome& outcome, const char* job) {
    const std::string name(job);
    Files after = folder.files();
    for (const auto& [file, bytes] : inputs) {
        auto kept = after.find(file);
        require(kept != after.end() && kept->second == bytes, name + ": input changed: " + file);
    }
    for (const auto& [file, bytes] : after) {
        if (inputs.count(file) != 0) continue;
        bool own = file == outcome.output || file == outcome.log || file == outcome.other;
        require(own, name + ": stray file " + file);
    }
    auto log = after.find(outcome.log);
    bool logLeft = log != after.end();
    require(!logLeft || !log->second.empty(), name + ": empty log");
    bool outputLeft = after.count(outcome.output) != 0;
    require(result >= 0 || result == -113 || among(result, outcome.failures),
            name + ": unknown code " + std::to_string(result));
    if (result >= 0) {
        require(outputLeft, name + ": success without an output");
        require(!logLeft, name + ": success keeps a log");
    } else if (result == -113) {
        require(logLeft, name + ": -113 without a log");
    } else if (!among(result, outcome.keepsOutput)) {
        require(!outputLeft, name + ": failure " + std::to_string(result) + " left its output");
    }
    for (const auto& [file, bytes] : after) {
        if (inputs.count(file) != 0) continue;
        std::error_code ignored;
        fs::remove(folder.file(file), ignored);
    }
}

}  // namespace tessel::fuzz
