#include "frame/rtf_line_writer.h"

#include <utility>

#include "frame/execute_function.h"
#include "frame/return_codes.h"

namespace tessel::frame {

bool dropsEmptyParagraphs(int functionCode) {
    return functionCode == kRtfToText || functionCode == kRtfToCompatibleHtml;
}

RtfLineWriter::RtfLineWriter(int functionCode, LineStep step, ErrorLog& log,
                             platform::OutputStream& output, int& changeCount)
    : functionCode_(functionCode),
      step_(std::move(step)),
      log_(log),
      output_(output),
      changeCount_(changeCount),
      skipEmptyLines_(dropsEmptyParagraphs(functionCode)) {}

int RtfLineWriter::paragraph(std::string& line, bool lineEnd) {
    bool empty = line.empty();
    if (int result = flush(line); result < 0) return result;
    if (lineEnd && !(empty && skipEmptyLines_)) output_.put('\n');
    return 0;
}

int RtfLineWriter::flush(std::string& line) {
    if (step_) {
        // The step's own count is not a change of this job.
        if (int result = step_(line); result < 0) return result;
    }
    int result = log_.report(ExecuteFunction(line, functionCode_), changeCount_, line);
    if (result < 0) return result;
    output_.write(line);
    return 0;
}

}  // namespace tessel::frame
