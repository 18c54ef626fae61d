// The jobs the fault matrix runs: one row per export (and per way of calling
// it that takes another path through the job), each with an input that
// exercises the whole path: messages in the log, a second pass, a working
// copy, a backup, a rewritten tag file.
#pragma once

#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace tessel::test {

// Every file of a folder with its bytes, by name relative to the folder.
using Snapshot = std::map<std::string, std::string>;

struct JobRow {
    std::string name;
    std::string inputName;
    std::string input;
    std::function<int(const std::string& inputPath)> run;
    Snapshot extraFiles = {};  // beside the input, such as a tag file
    bool inPlace = false;
    // Files the job makes and removes again while it runs (a working copy):
    // one that exists already is refused and left as it was.
    std::vector<std::string> transientNames = {};
    // For a job whose last step rewrites its finished output: an output that
    // differs from the reference run only where that step would have changed
    // it counts as complete when the job reports -113 (the log says why).
    std::function<std::string(const std::string&)> withoutFinalStep = {};
    // Files beside the input that the job rewrites by design (the tag file
    // tags are added to): never refused as an existing output.
    std::vector<std::string> updatedNames = {};
    // The code for an input that cannot be opened (missing, a folder, not a
    // regular file).
    int cannotOpenCode = -101;
};

inline void PrintTo(const JobRow& row, std::ostream* out) {
    *out << row.name;
}

std::vector<JobRow> jobRows();

}  // namespace tessel::test
