#include "markup/sgml_job.h"

#include <new>
#include <string_view>

#include "frame/error_log.h"
#include "frame/held_back_lines.h"
#include "frame/job_end.h"
#include "frame/job_names.h"
#include "frame/job_state.h"
#include "frame/return_codes.h"
#include "frame/rtf_writer.h"
#include "markup/execute_function.h"
#include "markup/html_codes.h"
#include "markup/html_entities.h"
#include "markup/html_markup_state.h"
#include "markup/joined_line_writer.h"
#include "markup/sgml_line_markup.h"
#include "markup/sgml_markup_state.h"
#include "markup/sgml_tag_collection.h"
#include "markup/sgml_tag_file.h"
#include "markup/sorted_string_list.h"
#include "markup/source_reading.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/streams.h"
#include "resources/log_texts.h"
#include "resources/sgml_texts.h"

namespace tessel::markup {

namespace res = tessel::resources;
using frame::ErrorLog;
using platform::InputStream;
using platform::OutputStream;
using platform::StreamMode;

namespace {

struct SgmlJobFiles {
    int functionCode = 0;
    std::string input;
    std::string output;  // the tag file itself for 801
    std::string log;
    std::string tagFile;  // empty for none
};

std::string_view outputExtension(int functionCode) {
    switch (functionCode) {
        case frame::kExtractSgmlTags:
            return res::kSgmlExtractionExtension;
        case frame::kSgmlToRtf:
            return res::kSgmlRtfExtension;
        case frame::kCharsToHtmlEntities:
            return res::kSgmlEntitiesExtension;
        default:
            return res::kSgmlOtherOutputExtension;
    }
}

bool needsTagFile(int functionCode) {
    return functionCode != frame::kExtractSgmlTags && functionCode != frame::kCharsToHtmlEntities;
}

// The mark-up and the entity job refuse an existing output as the HTML job
// does; the other jobs refuse it too, as every job of the library.
int outputExistsCode(int functionCode) {
    bool likeHtml =
        functionCode == frame::kSgmlToRtf || functionCode == frame::kCharsToHtmlEntities;
    return likeHtml ? frame::kRtfOutputExists : frame::kOutputExists;
}

// Two of the job's names that must not be one file.
bool clash(const std::string& a, const std::string& b) {
    return !a.empty() && !b.empty() && platform::sameNameIgnoringCase(a, b);
}

int formNames(const std::string& input, int functionCode, const std::string& tagFile,
              SgmlJobFiles& files) {
    if (input.empty() || !frame::fitsPathBuffer(input)) return frame::kCannotOpenInput;
    if (!frame::fitsPathBuffer(tagFile)) return frame::kCannotOpenInput;
    if (tagFile.empty() && needsTagFile(functionCode)) return kNoTagFile;
    files.functionCode = functionCode;
    files.input = input;
    files.tagFile = tagFile;
    files.log = platform::withExtension(input, frame::kLogExtension);
    bool collecting = functionCode == frame::kAddUniqueSgmlTags;
    files.output =
        collecting ? tagFile : platform::withExtension(input, outputExtension(functionCode));
    if (!frame::fitsPathBuffer(files.output) || !frame::fitsPathBuffer(files.log)) {
        return frame::kCannotOpenOutput;
    }
    // The log is created first and the output or the tag file rewritten: none
    // of them may be another of the job's files.
    if (clash(files.input, files.output) || clash(files.input, files.log) ||
        clash(files.output, files.log) || clash(tagFile, files.input) ||
        clash(tagFile, files.log) || (!collecting && clash(tagFile, files.output))) {
        return frame::kSameInputAndOutput;
    }
    if (!platform::fileExists(files.input) || platform::isDirectory(files.input)) {
        return frame::kCannotOpenInput;
    }
    if (!collecting && platform::outputExists(files.output)) return outputExistsCode(functionCode);
    return 0;
}

// Reads the tag file into `tags`: a missing file leaves the list empty, a file
// without tags is refused (-1301).
int readTagFile(const SgmlJobFiles& files, SortedStringList& tags, ErrorLog& log) {
    if (files.tagFile.empty() || !platform::fileExists(files.tagFile)) return 0;
    int result = collectSgmlTags(files.tagFile, tags, log, TagSource::TagFile);
    if (result < 0) return result;
    return tags.empty() ? kTagFileWithoutTags : 0;
}

// The tags as the mark-up meets them: escaped for RTF like the lines.
int escapedCopy(const SortedStringList& tags, SortedStringList& escaped) {
    std::string tag;
    for (const StringNode* node = tags.first(); node != nullptr; node = node->next.get()) {
        tag = node->text;
        if (!frame::escapeRtf(tag)) return frame::kOutOfMemory;
        if (int result = escaped.insert(tag); result < 0) return result;
    }
    return 0;
}

// Collection (801): the input's tags join those of the tag file, which is
// rewritten when any was new.
int collectIntoTagFile(const SgmlJobFiles& files, SortedStringList& tags, ErrorLog& log,
                       int& changeCount) {
    int newTags = collectSgmlTags(files.input, tags, log, TagSource::Input);
    if (newTags < 0) return newTags;
    changeCount = newTags;
    return 0;
}

class SgmlConversion {
  public:
    SgmlConversion(InputStream& input, OutputStream& output, ErrorLog& log, int functionCode,
                   SourceReading& reading)
        : input_(input),
          log_(log),
          functionCode_(functionCode),
          reading_(reading),
          state_(sgmlMarkupState()),
          writer_(output, state_.carryOver,
                  functionCode == frame::kSgmlToRtf ? JoinedLineWriter::Joining::Paragraphs
                                                    : JoinedLineWriter::Joining::LineBreaks) {}

    // Reads and converts every line; 0 or the failure code that ended it.
    int run() {
        return frame::readHeldBackLines(
            input_, [this](std::string& line) { return convertLine(line); },
            [this](std::string& unit) { return convertLastUnit(unit); });
    }

    int changeCount() const { return changeCount_; }

  private:
    int transform(std::string& line) {
        switch (functionCode_) {
            case frame::kSgmlToRtf:
                if (!escape(line)) return frame::kOutOfMemory;
                return funcMarkUpSGMLLine(line);
            default:
                return ExecuteFunction(line, functionCode_);
        }
    }

    // A line of a source read in another encoding than Windows 1252 is
    // decoded first; ASCII alone is escaped as a 1252 line.
    bool escape(std::string& line) {
        bool escaped = false;
        if (!reading_.asBefore() && !reading_.decodeAndEscape(line, log_, changeCount_, escaped)) {
            return false;
        }
        return escaped || frame::escapeRtf(line);
    }

    // Transforms and reports; a negative result is the job's failure.
    int process(std::string& text) {
        // Transform first: the report quotes the transformed text.
        int result = transform(text);
        ++lineNumber_;
        if (int code = log_.report(result, changeCount_, text); code < 0) return code;
        reportUnplacedMarkup(log_, changeCount_, text, lineNumber_);
        return 0;
    }

    int convertLine(std::string& line) {
        trimTrailingBlanks(line);
        bool breakInCarried = !state_.carryOver.empty();
        if (int code = process(line); code < 0) return code;
        writer_.writeLine(line, false, breakInCarried);
        return 0;
    }

    // The last line (with its line break) and a final piece without one.
    int convertLastUnit(std::string& unit) {
        bool breakInCarried = !state_.carryOver.empty();
        if (int code = process(unit); code < 0) return code;
        writer_.writeLast(unit, breakInCarried);
        if (!state_.carryOver.empty()) {
            log_.report(kTagWithNoEnd, changeCount_, state_.carryOver);
            writer_.writeUnclosed(state_.carryOver);
            state_.closeOpenText();
        }
        return 0;
    }

    InputStream& input_;
    ErrorLog& log_;
    int functionCode_;
    SourceReading& reading_;
    SgmlMarkupState& state_;
    JoinedLineWriter writer_;
    int changeCount_ = 0;
    std::size_t lineNumber_ = 0;
};

// Every code but 801: the input converted line by line into the output.
int convertFile(const SgmlJobFiles& files, const SortedStringList& tags, ErrorLog& log,
                int& changeCount) {
    SortedStringList escapedTags;
    if (files.functionCode == frame::kSgmlToRtf) {
        if (int code = escapedCopy(tags, escapedTags); code < 0) return code;
        sgmlMarkupState().externalTags = &escapedTags;
    }
    InputStream input;
    OutputStream output;
    bool markingUp = files.functionCode == frame::kSgmlToRtf;
    // Only the mark-up reads its source in the source's own encoding.
    SourceReading reading;
    if (markingUp) {
        if (int code = reading.prepare(files.input); code != 0) return code;
    }
    const std::string& inputPath = markingUp ? reading.pathToRead() : files.input;
    if (!input.open(inputPath, StreamMode::Text)) return frame::kCannotOpenInput;
    if (!output.open(files.output, StreamMode::Text)) return frame::kCannotOpenOutput;
    reading.skipByteOrderMark(input);

    if (markingUp) {
        frame::writeRtfHeader(output);
        int decisionMessages = 0;
        reading.writeDocumentStart(output, log, decisionMessages);
    }
    SgmlConversion conversion(input, output, log, files.functionCode, reading);
    int failure = conversion.run();
    if (markingUp) frame::writeDocumentEnd(output);
    changeCount = conversion.changeCount();
    sgmlMarkupState().externalTags = nullptr;
    // A read error must not pass for a converted file.
    if (input.failed() && failure == 0) failure = frame::kCannotOpenInput;
    input.close();
    // A write error (a full disk) must not pass as a converted file.
    if (!output.close() && failure == 0) failure = frame::kCannotOpenOutput;
    return failure;
}

// The mark-up states share the carry-over buffer; both start and end empty.
void resetMarkupStates() {
    sgmlMarkupState().reset();
    htmlMarkupState().reset();
}

int runJob(const std::string& inputPath, int functionCode, const std::string& tagFile) {
    frame::jobState().reset();
    resetMarkupStates();
    lastSourceEncodingReport().clear();
    SgmlJobFiles files;
    if (int code = formNames(inputPath, functionCode, tagFile, files); code != 0) return code;
    ErrorLog log;
    if (!log.open(files.log)) return frame::kCannotOpenOutput;
    log.writeHeader(res::kSgmlHtmlParserTitle, files.input, functionCode);

    bool collecting = functionCode == frame::kAddUniqueSgmlTags;
    SortedStringList tags;
    int changeCount = 0;
    int failure = 0;
    try {
        failure = readTagFile(files, tags, log);
        if (failure == 0) {
            failure = collecting ? collectIntoTagFile(files, tags, log, changeCount)
                                 : convertFile(files, tags, log, changeCount);
        }
    } catch (const std::bad_alloc&) {
        failure = frame::kOutOfMemory;
    }
    log.writeSummary(functionCode, changeCount, files.input);
    // The tag file is the user's: it changes only after a run whose log is
    // complete (a disk that filled up while the log was written fails the job).
    bool logComplete = log.close();
    if (collecting && failure == 0 && !logComplete) failure = frame::kCannotOpenOutput;
    if (collecting && failure == 0 && changeCount > 0) {
        failure = rewriteSgmlTagFile(files.output, tags);
    }
    resetMarkupStates();
    // A failed conversion removes its output (checked above not to exist
    // before); the tag file is never removed: a failed collection leaves it as
    // it was.
    return frame::finishJob(collecting ? std::string() : files.output, files.log, failure,
                            changeCount);
}

}  // namespace

int runSgmlTextReadWrite(const std::string& input, int functionCode, const std::string& tagFile) {
    try {
        return runJob(input, functionCode, tagFile);
    } catch (const std::bad_alloc&) {
        resetMarkupStates();
        return frame::kOutOfMemory;
    }
}

}  // namespace tessel::markup
