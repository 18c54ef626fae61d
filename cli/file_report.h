// What the tool says about each file beyond the batch report: its status,
// the line on standard error for a file with problems, and the JSON objects
// of --report json (one per file, one for the run).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/file_outcome.h"

namespace tessel::cli {

enum class FileStatus {
    Converted,  // output written, no error log kept
    Warnings,   // output written, error log kept (-113)
    Failed,     // anything else below 0, or the output could not be delivered
};

FileStatus statusOf(const app::FileOutcome& outcome, bool deliveryFailed);

struct RunTally {
    int files = 0;
    int read = 0;
    int outputsCreated = 0;
    int errorLogs = 0;
    int converted = 0;
    int warnings = 0;
    int failed = 0;
    bool refusedArguments = false;  // a name on the command line was no file to convert

    void add(const app::FileOutcome& outcome, FileStatus status);
    int exitStatus() const;
};

// "tessel: FILE: TEXT (REASON)" lines for a file with problems; empty for a
// converted one.
std::string problemLines(const app::FileOutcome& outcome, FileStatus status,
                         const std::vector<std::string>& problems);

std::string fileJson(const app::FileOutcome& outcome, FileStatus status,
                     const std::vector<std::string>& problems);
std::string summaryJson(const RunTally& tally);

}  // namespace tessel::cli
