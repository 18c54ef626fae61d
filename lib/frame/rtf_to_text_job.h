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

// True for the function codes this job serves: 504, 508 and 510 to 514.
bool isRtfBackFunction(int functionCode);

// A step on the finished output file, run when the reading succeeded and
// before the summary, with the job's open log (multilingual HTML: the
// charset step). A negative result means it reported why in the log; the
// job then keeps the log and returns -113.
using OutputStep = std::function<int(const std::string& output, ErrorLog& log)>;

struct RtfBackJob {
    std::string input;
    std::string output;
    std::string log;
    int functionCode = 0;
    LineStep lineStep;      // may be empty
    OutputStep outputStep;  // may be empty
};

// Runs the job on formed names: the change count, -113 when the log holds
// messages, or a failure code. A failed reading keeps the partial output and
// the log.
int runRtfToTextJob(const RtfBackJob& job);

// The job as the exports enter it: output = input with `extension` (taken as
// it stands, with or without its dot), log = input with "ERR".
int readRtfWriteText(const char* inputPath, int functionCode, const char* extension,
                     LineStep lineStep, OutputStep outputStep = {});

}  // namespace tessel::frame
