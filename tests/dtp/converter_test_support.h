// Helpers for the markup framework tests: a converter log in a temporary
// folder and the text-mode form of expected output.
#pragma once

#include <string>
#include <string_view>

#include "dtp/converter_log.h"
#include "platform/streams.h"
#include "support/temp_dir.h"

namespace tessel::test {

// Makes a log file in `dir` the current converter log for the test's life.
class ConverterLogCapture {
  public:
    explicit ConverterLogCapture(const TempDir& dir) : path_(dir.file("capture.log")) {
        stream_.open(path_, platform::StreamMode::Binary);
        dtp::setCurrentConverterLog(&stream_);
    }
    ~ConverterLogCapture() { dtp::setCurrentConverterLog(nullptr); }
    ConverterLogCapture(const ConverterLogCapture&) = delete;
    ConverterLogCapture& operator=(const ConverterLogCapture&) = delete;

    // Everything logged so far (the log stays current).
    std::string text() {
        stream_.close();
        std::string logged = readFile(path_);
        path_ += "+";
        stream_.open(path_, platform::StreamMode::Binary);
        previous_ += logged;
        return previous_;
    }

  private:
    std::string path_;
    std::string previous_;
    platform::OutputStream stream_;
};

// LF written in text mode: CR LF.
inline std::string crlf(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace tessel::test
