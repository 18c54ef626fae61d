// The output folder of a batch (the tool's -o, the desktop program's option): the library writes
// each output and error log next to its input, and the tool then moves the files this call created
// into the folder. Nothing that existed before the call is moved: a log the call rewrote is copied,
// and a file the library refused to replace stays. Where the input's folder refuses the output (a
// file there has its name, or the folder cannot be written), the job runs on a copy of the input in
// a private work folder inside the output folder, which goes once the file is reported.
#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/file_outcome.h"

namespace tessel::app {

class OutputFolder {
  public:
    // `mayReplace` answers whether an existing output in the folder may be
    // replaced (--overwrite, or a Yes).
    OutputFolder(std::string root, std::function<bool(const std::string&)> mayReplace);

    // Creates the folder when missing; the reason when it cannot be used.
    std::optional<std::string> prepare() const;

    // Moves the output and error log of `outcome` into the folder, below
    // `subfolder`, and updates their paths. An output that may not replace
    // an existing one is removed again and the file reported as refused
    // (-115). Returns the problems, one line each; any makes the file fail.
    std::vector<std::string> takeOutputs(FileOutcome& outcome, const std::string& subfolder);

    // A copy of `inputPath` under its own name in a new work folder; nothing
    // when it cannot be made (the refusal then stands).
    std::optional<std::string> stageInput(const std::string& inputPath);
    // Removes the work folder of the file just reported, with what is left
    // in it.
    void releaseStagedInput();

  private:
    void takeOutput(FileOutcome& outcome, const std::string& folder,
                    std::vector<std::string>& problems);
    void takeErrorLog(FileOutcome& outcome, const std::string& folder,
                      std::vector<std::string>& problems);
    void refuseOutput(FileOutcome& outcome);

    std::string root_;
    std::function<bool(const std::string&)> mayReplace_;
    // Outputs this run put into the folder: a later input of the same output
    // name must not replace them.
    std::set<std::string> writtenThisRun_;
    std::string workFolder_;  // of the file being converted; empty: none
};

}  // namespace tessel::app
