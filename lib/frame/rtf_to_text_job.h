// The RTF-back job: reads an RTF file that a mark-up job wrote (now
// translated) and writes the tagged text file again, with an error log next
// to the input. The per-format step of each line is handed in by the export
// that composes the job, so the frame needs no format code of its own.
#pragma once

#include <functional>
#include <string>

#include "frame/error_log.h"
#include "frame/rtf_line_writer.h"

namespace tessel::frame {

// True for the function codes this job serves: 504, 508 and 510 to 515.
bool isRtfBackFunction(int functionCode);

// A step over the whole written output (the charset step of multilingual
// HTML): given the output path and the job's log; 0, or a negative result,
// which makes the job end with -113.
using OutputFileStep = std::function<int(const std::string& outputPath, ErrorLog& log)>;

// What the export composes into the job besides the names.
struct RtfBackSteps {
    LineStep lineStep;          // may be empty
    int codePage = 0;           // 515: the code page written; HTML, SGML: the one declared
    OutputFileStep outputStep;  // may be empty; run when the reading succeeded
};

struct RtfBackJob {
    std::string input;
    std::string output;
    std::string log;
    int functionCode = 0;
    LineStep lineStep;  // may be empty
    int codePage = 0;
    OutputFileStep outputStep;
};

// Runs the job on formed names: the change count, -113 when the log holds
// messages, or a failure code. A failed reading keeps the partial output and
// the log.
int runRtfToTextJob(const RtfBackJob& job);

// The job as the exports enter it: output = input with `extension` (taken as
// it stands, with or without its dot), log = input with "ERR".
int readRtfWriteText(const char* inputPath, int functionCode, const char* extension,
                     LineStep lineStep);
int readRtfWriteText(const char* inputPath, int functionCode, const char* extension,
                     RtfBackSteps steps);

}  // namespace tessel::frame
