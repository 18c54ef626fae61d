// The RTF-back job: reads an RTF file that a mark-up job wrote (now
// translated) and writes the tagged text file again, with an error log next
// to the input. The per-format step of each line is handed in by the export
// that composes the job, so the frame needs no format code of its own.
#pragma once

#include <string>

#include "frame/rtf_line_writer.h"

namespace tessel::frame {

// True for the function codes this job serves: 504, 508 and 510 to 514.
bool isRtfBackFunction(int functionCode);

struct RtfBackJob {
    std::string input;
    std::string output;
    std::string log;
    int functionCode = 0;
    LineStep lineStep;  // may be empty
};

// Runs the job on formed names: the change count, -113 when the log holds
// messages, or a failure code. A failed reading keeps the partial output and
// the log.
int runRtfToTextJob(const RtfBackJob& job);

// The job as the exports enter it: output = input with `extension` (taken as
// it stands, with or without its dot), log = input with "ERR".
int readRtfWriteText(const char* inputPath, int functionCode, const char* extension,
                     LineStep lineStep);

}  // namespace tessel::frame
