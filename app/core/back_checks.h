// The tag checks of a back-conversion: once the export has written the
// tagged text, the RTF it read is checked for damaged tags (as `tessel
// verify` checks a file, alone, or against its original when one is at
// hand), and each finding becomes a numbered message of the job's error
// log, so that the job ends with its warning code (-113). A file with no
// findings keeps exactly the export's result, output and log.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/command_table.h"
#include "verify/check_targets.h"

namespace tessel::app {

struct BackCheckSettings {
    bool enabled = false;
    // The RTF the mark-up wrote, for the comparison: one file for every
    // input, or a folder whose NAME.rtf goes with the input NAME.rtf.
    std::string originalFile;
    std::string originalFolder;
};

// The back-conversion a back command's checks hold the file against;
// `codePage` is the multilingual HTML's. None for the text back-conversion
// (Ventura 5 and later, or plain text): the file's tags tell.
std::optional<verify::TargetChoice> backCheckTarget(const Command& command, unsigned codePage);

// The original of `input` under `settings`: the file given, or the
// folder's file of the input's name (extension in any case); none when the
// comparison was not asked for or the folder has no such file.
std::optional<std::string> originalFor(const std::string& input, const BackCheckSettings& settings);

struct BackCheckJob {
    std::string inputPath;  // the RTF, as the export was given it
    std::string shownPath;  // what the log's header names; empty: inputPath
    std::string logPath;    // the job's error log
    int functionCode = 0;   // the back-conversion's, for the log's header and summary
    int result = 0;         // the export's result: a change count or -113
    std::optional<verify::TargetChoice> target;
    // Messages of the job itself ("%d" for the number) that come before the
    // findings.
    std::vector<std::string> leadingMessages;
};

// Runs the checks on a job whose output was written; returns the job's
// result: -113 when messages were added to its log, else `job.result`.
int runBackChecks(const BackCheckJob& job, const BackCheckSettings& settings);

// Writes `messages` ("%d" for each one's number) into the job's log as the
// checks do (a new log with header and summary, or the export's log with
// them added); false when it could not be written.
bool writeJobMessages(const BackCheckJob& job, const std::vector<std::string>& messages);

}  // namespace tessel::app
