// The error log of the line-oriented jobs: a header, numbered messages that
// quote the offending text, and a summary. The log is kept only when a
// message was written.
#pragma once

#include <string>
#include <string_view>

#include "platform/streams.h"

namespace tessel::frame {

class ErrorLog {
  public:
    // Creates (truncates) the log in text mode.
    bool open(const std::string& path);
    bool isOpen() const { return stream_.isOpen(); }
    bool close() { return stream_.close(); }

    // Header: title line, version, date, file as the caller gave it, function
    // title, rule.
    void writeHeader(std::string_view parserTitle, std::string_view inputPath, int functionCode);

    // Reports one result of a per-line step. Zero or more is added to the
    // change count (returns 0); a message code writes the numbered message
    // quoting `text` (returns 0, the job goes on); any other negative result
    // marks the original to be kept and is returned unchanged. `detail`
    // fills the placeholder of a message's second sentence, where it has one.
    int report(int result, int& changeCount, std::string_view text, std::string_view detail = {});

    // Summary: "\t..." when no message was written, else the summary lines of
    // the function code, the keep-original line and the closing rule.
    void writeSummary(int functionCode, int changeCount, std::string_view originalSavedAs);

    platform::OutputStream& stream() { return stream_; }

  private:
    platform::OutputStream stream_;
};

// Plural suffix of a count: empty for 1, "s" otherwise.
std::string_view pluralSuffix(int count);

}  // namespace tessel::frame
