// The line-by-line engine: reads a text file line by line, transforms each
// line by function code, reports results into the error log and writes the
// result, in place behind a backup or into a new file.
#pragma once

#include <string>

#include "frame/execute_function.h"

namespace tessel::frame {

class ErrorLog;

// The files of one run of the engine.
struct LineJobFiles {
    std::string input;     // the file read (the backup in in-place mode)
    std::string output;    // the file written
    std::string log;       // the engine's own log (unused with a shared log)
    std::string original;  // the caller's name of the input
    bool inPlace = false;
    // When set, the run is a pass of another job: messages go into that job's
    // open log, numbered on from the job state, and the run writes no header
    // or summary and leaves the log alone.
    ErrorLog* sharedLog = nullptr;
};

// What the engine does to each line: the function code (which the log names)
// and the function that implements it. With `wholeBufferedLines` set, the
// passes that convert bytes alone or line ends (610, 611 and 613) take the
// lines that lie whole in the input's buffer in one go rather than one by
// one through `function`, which must then convert those codes as
// executeFrameFunction does.
struct LineOperation {
    int code = 0;
    LineFunction function = executeFrameFunction;
    bool wholeBufferedLines = false;
};

// Runs the engine on named files (the names are already checked); does not
// reset the job state. Returns the change count or a failure code, -113 when
// this run wrote messages.
int runLineJob(const LineJobFiles& files, const LineOperation& operation, bool deleteBackup);

// `path` is the caller's 260-byte buffer; in output-extension mode it holds
// the output name on return once the names are formed.
int runTextReadWriteParser(char* path, const LineOperation& operation, bool deleteBackup,
                           const char* extension);

}  // namespace tessel::frame
