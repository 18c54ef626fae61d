// What happened to one file of a batch: the workflow fills it in, the shell
// sees it around the file's report, and the command returns one per file.
#pragma once

#include <optional>
#include <string>

namespace tessel::app {

struct FileOutcome {
    std::string inputPath;
    // The output's name as it lies on disk once created (the library may
    // write another case of the extension); the expected name otherwise.
    std::string outputPath;
    int result = 0;
    bool countedRead = false;
    bool outputCreated = false;
    std::optional<std::string> errorLogPath;  // a log this call wrote
    // A log of that name lay there before the call (and was rewritten by it).
    bool errorLogExistedBefore = false;
    // The report's text of the result, as the report shows it.
    std::string resultText;
};

// A result after which the output file is complete (with or without a log).
inline bool outputWritten(int result) {
    return result >= 0 || result == -113;
}

}  // namespace tessel::app
