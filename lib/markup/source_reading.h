// What a mark-up job of HTML or SGML does about its source's encoding: the
// decision before the source is opened, a UTF-8 copy of a UTF-16 source to
// read instead, the start of the RTF (the byte-order mark's run), and each
// line decoded and escaped for RTF. A source read as Windows 1252 takes the
// jobs' own path at every line, as before.
//
// Usage:
//   SourceReading reading;
//   reading.prepare(inputPath);         // before the input is opened
//   input.open(reading.pathToRead(), StreamMode::Text);
//   reading.skipByteOrderMark(input);
//   frame::writeRtfHeader(output);
//   reading.writeDocumentStart(output, log, changeCount);
//   ... per line: if (!reading.asBefore()) reading.decodeAndEscape(line, ...)
#pragma once

#include <string>

#include "frame/error_log.h"
#include "markup/source_encoding.h"
#include "markup/source_text.h"
#include "platform/streams.h"

namespace tessel::markup {

class SourceReading {
  public:
    SourceReading() = default;
    ~SourceReading();
    SourceReading(const SourceReading&) = delete;
    SourceReading& operator=(const SourceReading&) = delete;

    // Decides the encoding of the file at `inputPath` and, for UTF-16,
    // writes the UTF-8 copy to read beside it (removed with this object).
    // 0, or kCannotOpenInput / kCannotOpenOutput.
    int prepare(const std::string& inputPath);

    const std::string& pathToRead() const { return pathToRead_; }
    const SourceEncoding& encoding() const { return encoding_; }
    bool asBefore() const { return encoding_.asBefore(); }

    // Reads past a UTF-8 mark (a UTF-16 copy has none).
    void skipByteOrderMark(platform::InputStream& input) const;

    // After the RTF header: "\uc1" and the mark's run for a source not read
    // as before, and the log messages of the decision.
    void writeDocumentStart(platform::OutputStream& output, frame::ErrorLog& log,
                            int& changeCount) const;

    // Turns the line of a source not read as before into UTF-8 and, unless
    // Windows 1252 holds it whole (`escaped` false: the line is then in 1252
    // and the 1252 path takes it as it is), into escaped RTF. Bytes without a character are logged.
    // False when memory ran out.
    bool decodeAndEscape(std::string& line, frame::ErrorLog& log, int& changeCount, bool& escaped);

  private:
    SourceEncoding encoding_;
    SourceLineDecoder decoder_{encoding_};
    std::string pathToRead_;
    std::string transcodedCopy_;  // empty: none
    std::size_t unpairedUnits_ = 0;
    std::string original_;
};

// The report of the decision the last mark-up job of this process made
// (sourceEncodingReport); empty after a source read as before.
std::string& lastSourceEncodingReport();

}  // namespace tessel::markup
