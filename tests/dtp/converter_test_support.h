// Helpers for the markup framework and converter tests: a converter log in a
// temporary folder, the text-mode form of expected output, the RTF and log a
// converter writes, and the bundled examples.
#pragma once

#include <string>
#include <string_view>

#include "dtp/converter_log.h"
#include "platform/resources.h"
#include "platform/streams.h"
#include "resources/markup_framework_texts.h"
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

inline std::string internalRun(std::string_view text) {
    return "{\\cs6\\cf6\\f1\\lang1024 " + std::string(text) + "}";
}
inline std::string externalRun(std::string_view text) {
    return "{\\cs5\\cf15\\f1\\lang1024 " + std::string(text) + "}";
}

// The RTF a converter writes for `body` (LF line ends).
inline std::string converterDocument(std::string_view body) {
    return crlf(std::string(resources::kConverterRtfHeader) + std::string(body) + "}");
}

// The converter log of `source` with `entries` (dated "<date>", see
// withoutDate), and with the change-count trailer unless the parse was cut
// short (`changes` < 0).
inline std::string converterLog(std::string_view source, std::string_view entries, int changes) {
    std::string log = "\t\tError Log File from Tessel CAT Markup Parser\n\nDate:\t<date>\nFile:\t" +
                      std::string(source) + "\n\n" + std::string(entries);
    if (changes >= 0) {
        log += "\n\n-------------------------------------------------\n\t" +
               std::to_string(changes) +
               " changes made.\n-------------------------------------------------\n";
    }
    return crlf(log);
}

inline std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// A file of examples/ ("pagemaker/windows_sample.txt").
inline std::string example(std::string_view name) {
    return readFile(std::string(TESSEL_SOURCE_DIR) + "/examples/" + std::string(name));
}

// Both tables of a grammar are built into the library.
inline bool grammarTablesBuiltIn(std::string_view lexTable, std::string_view yaccTable) {
    return platform::findResource(lexTable, "LEXTABLE") &&
           platform::findResource(yaccTable, "YACCTABLE");
}

}  // namespace tessel::test
