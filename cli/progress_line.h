// A line on standard error before and after the conversion of a large file
// when standard error is a terminal: the library converts a file in one
// call, so the tool can only say that it started and when it ended.
#pragma once

#include <chrono>
#include <iosfwd>
#include <optional>
#include <string>

namespace tessel::cli {

class ProgressLine {
  public:
    ProgressLine(std::ostream& err, bool enabled);

    // Before the call: announces a file from about 20 MB up.
    void starting(const std::string& inputPath);
    // After the call: the time the announced file took.
    void finished();

  private:
    std::ostream& err_;
    bool enabled_;
    std::optional<std::string> current_;
    std::chrono::steady_clock::time_point start_;
};

}  // namespace tessel::cli
