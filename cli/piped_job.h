// "-" as the only file of a job: standard input is copied into a private
// folder of its own under the system's temporary folder, the job runs on
// that copy, and its converted file goes to standard output and its error
// log to standard error. The folder goes with the object, whatever happens.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace tessel::cli {

class PipedInput {
  public:
    // Copies `in` to "stdin" + `extension` in a new private folder, so that
    // the job names its outputs as for a file of its format. The system's
    // reason in `problem` when it cannot.
    static std::optional<PipedInput> fromStandardInput(std::istream& in,
                                                       const std::string& extension,
                                                       std::string& problem);
    PipedInput(PipedInput&& other) noexcept;
    PipedInput& operator=(PipedInput&&) = delete;
    PipedInput(const PipedInput&) = delete;
    ~PipedInput();

    const std::string& path() const { return path_; }

    // Writes the file the job wrote (the copy itself for a job that converts
    // in place) to `out` and its error log to `err`; false when one of them
    // cannot be read.
    bool deliver(std::ostream& out, std::ostream& err, bool convertsInPlace) const;

  private:
    PipedInput(std::string folder, std::string path);

    std::string folder_;
    std::string path_;
};

}  // namespace tessel::cli
