// Writes the paragraphs the RTF reader hands on as lines of the tagged text
// file: each line goes through the job's per-format step (character entities
// for HTML and SGML) and the function-code dispatcher, its result is reported
// into the error log, and the line is written.
#pragma once

#include <functional>
#include <string>

#include "frame/error_log.h"
#include "frame/rtf_reader.h"
#include "platform/streams.h"

namespace tessel::frame {

// The per-format step of a back-conversion: transforms one line in place and
// returns a count (not added to the change count) or a negative code that
// ends the job. Composed by the job's export; empty for plain text formats.
using LineStep = std::function<int(std::string& line)>;

class RtfLineWriter final : public RtfParagraphSink {
  public:
    RtfLineWriter(int functionCode, LineStep step, ErrorLog& log, platform::OutputStream& output,
                  int& changeCount);

    int paragraph(std::string& line, bool lineEnd) override;

  private:
    int flush(std::string& line);

    int functionCode_;
    LineStep step_;
    ErrorLog& log_;
    platform::OutputStream& output_;
    int& changeCount_;
    bool skipEmptyLines_;
};

// True for the codes whose output leaves out empty paragraphs (plain text and
// compatible HTML); the others keep a line end for every paragraph.
bool dropsEmptyParagraphs(int functionCode);

}  // namespace tessel::frame
