#include "markup/html_to_rtf.h"

#include <memory>
#include <new>
#include <string_view>

#include "frame/error_log.h"
#include "frame/held_back_lines.h"
#include "frame/job_end.h"
#include "frame/job_names.h"
#include "frame/job_state.h"
#include "frame/return_codes.h"
#include "frame/rtf_writer.h"
#include "markup/html_codes.h"
#include "markup/html_line_markup.h"
#include "markup/html_markup_state.h"
#include "markup/html_tag_file.h"
#include "markup/joined_line_writer.h"
#include "markup/source_reading.h"
#include "platform/files.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "resources/html_texts.h"
#include "resources/log_texts.h"
#include "resources/rtf_texts.h"

namespace tessel::markup {

namespace res = tessel::resources;
using frame::ErrorLog;
using platform::InputStream;
using platform::OutputStream;
using platform::StreamMode;

namespace {

class HtmlToRtfJob {
  public:
    HtmlToRtfJob(InputStream& input, OutputStream& output, ErrorLog& log, HtmlMarkupState& state,
                 SourceReading& reading)
        : input_(input),
          log_(log),
          state_(state),
          reading_(reading),
          body_(output, state.carryOver, JoinedLineWriter::Joining::Paragraphs) {}

    // Reads and converts every line; 0 or the failure code that ended it.
    int run() {
        return frame::readHeldBackLines(
            input_, [this](std::string& line) { return convertLine(line); },
            [this](std::string& unit) { return convertLastUnit(unit); });
    }

    int changeCount() const { return changeCount_; }

  private:
    // Escape, mark up and report; a negative result is the job's failure.
    int markUp(std::string& text) {
        int result = 0;
        if (!escapeAndMarkUp(text, result)) return frame::kOutOfMemory;
        return log_.report(result, changeCount_, text);
    }

    // A line of a source read in another encoding than Windows 1252 is
    // decoded and escaped first, unless it is ASCII alone.
    bool escapeAndMarkUp(std::string& text, int& result) {
        if (reading_.asBefore()) return escapeAndMarkUpHtmlLine(text, result);
        bool escaped = false;
        if (!reading_.decodeAndEscape(text, log_, changeCount_, escaped)) return false;
        if (!escaped) return escapeAndMarkUpHtmlLine(text, result);
        result = funcMarkUpHTMLLine(text);
        return true;
    }

    int convertLine(std::string& line) {
        trimTrailingBlanks(line);
        bool insidePre = state_.pre;
        if (int code = markUp(line); code < 0) return code;
        body_.writeLine(line, insidePre);
        return 0;
    }

    // The last line (with its line break) and a final piece without one,
    // converted together.
    int convertLastUnit(std::string& unit) {
        if (int code = markUp(unit); code < 0) return code;
        body_.writeLast(unit);
        if (!state_.carryOver.empty()) {
            log_.report(kTagWithNoEnd, changeCount_, state_.carryOver);
            body_.writeUnclosed(state_.carryOver);
            state_.carryOver.clear();
        }
        return 0;
    }

    InputStream& input_;
    ErrorLog& log_;
    HtmlMarkupState& state_;
    SourceReading& reading_;
    JoinedLineWriter body_;
    int changeCount_ = 0;
};

struct JobNames {
    std::string input;
    std::string output;
    std::string log;
};

int formNames(const std::string& input, const std::string& tagFile, JobNames& names) {
    if (input.empty() || !frame::fitsPathBuffer(input)) return frame::kCannotOpenInput;
    names.input = input;
    names.output = platform::withExtension(input, res::kRtfExtension);
    names.log = platform::withExtension(input, frame::kLogExtension);
    if (!frame::fitsPathBuffer(names.output) || !frame::fitsPathBuffer(names.log)) {
        return frame::kCannotOpenOutput;
    }
    // The log is created before the tag file is read: a tag file under the
    // log's (or the output's) name would be lost.
    if (!tagFile.empty() && (platform::sameNameIgnoringCase(tagFile, names.log) ||
                             platform::sameNameIgnoringCase(tagFile, names.output))) {
        return frame::kSameInputAndOutput;
    }
    return frame::checkOutputNames(names.input, names.output, names.log, frame::kRtfOutputExists);
}

// Opens log, input (after deciding its encoding) and output in this order.
// On failure nothing the job created is left behind.
int openFiles(const JobNames& names, SourceReading& reading, ErrorLog& log, InputStream& input,
              OutputStream& output) {
    if (!log.open(names.log)) return frame::kCannotOpenOutput;
    int code = reading.prepare(names.input);
    if (code == 0 && !input.open(reading.pathToRead(), StreamMode::Text)) {
        code = frame::kCannotOpenInput;
    } else if (code == 0 &&
               !output.open(names.output, StreamMode::Text, platform::ExistingName::Refuse)) {
        code = frame::kCannotOpenOutput;
        input.close();
    }
    if (code != 0) {
        log.close();
        platform::removeFile(names.log);
    }
    return code;
}

int runJob(const std::string& inputPath, const std::string& tagFile) {
    frame::jobState().reset();
    HtmlMarkupState& state = htmlMarkupState();
    state.reset();
    lastSourceEncodingReport().clear();

    JobNames names;
    if (int code = formNames(inputPath, tagFile, names); code != 0) return code;
    ErrorLog log;
    InputStream input;
    OutputStream output;
    SourceReading reading;
    if (int code = openFiles(names, reading, log, input, output); code != 0) return code;
    reading.skipByteOrderMark(input);

    std::unique_ptr<UserTagList> userTags;
    if (int code = funcReadHTMLTagFile(tagFile, log.stream(), userTags); code < 0) {
        log.stream().write(
            platform::fillPlaceholders(res::kHtmlTagFileError, {std::to_string(code), tagFile}));
        input.close();
        output.close();
        log.close();
        // Nothing was converted: an empty RTF file would only block the next run.
        platform::removeFile(names.output);
        return code;
    }
    state.userTags = userTags.get();

    HtmlToRtfJob job(input, output, log, state, reading);
    int failure = 0;
    try {
        frame::writeRtfHeader(output);
        log.writeHeader(res::kTextToRtfParserTitle, names.input, frame::kHtmlToRtf);
        int decisionMessages = 0;
        reading.writeDocumentStart(output, log, decisionMessages);
        failure = job.run();
        frame::writeDocumentEnd(output);
        log.writeSummary(frame::kHtmlToRtf, job.changeCount(), names.input);
    } catch (const std::bad_alloc&) {
        failure = frame::kOutOfMemory;
    }

    input.close();
    // A write error (a full disk) must not pass as a converted file.
    if (!(output.close() && output.wroteCompletely(names.output)) && failure == 0) {
        failure = frame::kCannotOpenOutput;
    }
    log.close();
    state.reset();
    return frame::finishJob(names.output, names.log, failure, job.changeCount());
}

}  // namespace

int runHtmlToRtf(const std::string& input, const std::string& tagFile) {
    try {
        return runJob(input, tagFile);
    } catch (const std::bad_alloc&) {
        htmlMarkupState().reset();
        return frame::kOutOfMemory;
    }
}

}  // namespace tessel::markup
