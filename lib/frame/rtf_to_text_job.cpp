#include "frame/rtf_to_text_job.h"

#include <cstring>
#include <new>
#include <optional>
#include <string_view>
#include <utility>

#include "frame/error_log.h"
#include "frame/job_names.h"
#include "frame/job_state.h"
#include "frame/macintosh_pass.h"
#include "frame/return_codes.h"
#include "frame/rtf_byte_source.h"
#include "frame/rtf_reader.h"
#include "frame/rtf_style_sheet.h"
#include "frame/text_run_escaper.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "resources/log_texts.h"

namespace tessel::frame {

namespace {

using platform::InputStream;
using platform::OutputStream;
using platform::StreamMode;

constexpr std::string_view kRtfSignature = "{\\rtf";

// The input must exist and start with "{\rtf" (case-sensitive).
int checkRtfSignature(const std::string& path) {
    InputStream input;
    if (!input.open(path, StreamMode::Binary)) return kCannotOpenInput;
    char start[5];
    std::size_t got = input.read(start, sizeof start);
    bool isRtf = got == sizeof start && std::string_view(start, got) == kRtfSignature;
    if (!input.close()) return kCannotCloseFile;
    return isRtf ? 0 : kNotAnRtfFile;
}

int checkNames(const RtfBackJob& job) {
    if (!fitsPathBuffer(job.output) || !fitsPathBuffer(job.log)) return kCannotOpenOutput;
    return checkOutputNames(job.input, job.output, job.log, kOutputExists);
}

struct Reading {
    int result = 0;
    bool macintoshTarget = false;
};

// The tag styles of the input's style sheet, read in a pass of their own,
// when the body has runs in them: a document that a mark-up wrote. None
// when it cannot be read, or has no such runs.
std::optional<RtfStyleSheet> markedUpStyles(const std::string& path) {
    InputStream input;
    if (!input.open(path, StreamMode::Binary)) return std::nullopt;
    StreamByteSource source(input);
    bool tagRuns = false;
    RtfStyleSheet sheet = readMarkedUpStyles(source, tagRuns);
    if (!tagRuns) return std::nullopt;
    return sheet;
}

// Reads the RTF into the output; 0 or the failure code.
Reading readDocument(InputStream& input, OutputStream& output, ErrorLog& log, const RtfBackJob& job,
                     int& changeCount) {
    try {
        RtfLineWriter writer(job.functionCode, job.lineStep, log, output, changeCount,
                             job.codePage);
        StreamByteSource source(input);
        RtfReader reader(source, writer);
        // Only the text of a document that a mark-up wrote has tags to tell
        // it from: its escapes and the formatting a translator gave it.
        std::optional<RtfStyleSheet> styles = markedUpStyles(job.input);
        writer.tellFormatting(styles.has_value());
        std::optional<TextRunEscaper> escaper;
        const resources::TextEscapeTable* escapes = textEscapeTable(job.functionCode);
        if (styles && escapes != nullptr) {
            escaper.emplace(*escapes, std::move(*styles));
            writer.escapeTextRuns(&*escaper);
            reader.observeStyles(&*escaper);
        }
        int result = reader.read();
        // Lines held back for the header are written even after a failure,
        // as all text read before it is.
        int finished = writer.finish();
        return {result != 0 ? result : finished, writer.macintoshTarget()};
    } catch (const std::bad_alloc&) {
        return {kOutOfMemory, false};
    }
}

void finishLog(ErrorLog& log, const RtfBackJob& job, int changeCount) {
    JobState& state = jobState();
    // This job never keeps an original; the summary must not say it did.
    state.keepOriginal = false;
    log.writeSummary(job.functionCode, changeCount, job.input);
    log.close();
}

int runJob(const RtfBackJob& job) {
    if (!isRtfBackFunction(job.functionCode)) return kInvalidFunction;
    if (!fitsPathBuffer(job.input)) return kCannotOpenInput;
    if (int code = checkRtfSignature(job.input); code != 0) return code;
    JobState& state = jobState();
    state.reset();
    if (int code = checkNames(job); code != 0) return code;

    InputStream input;
    OutputStream output;
    ErrorLog log;
    if (!input.open(job.input, StreamMode::Binary)) return kCannotOpenInput;
    if (!output.open(job.output, StreamMode::Text, platform::ExistingName::Refuse)) {
        return kCannotOpenOutput;
    }
    if (!log.open(job.log)) {
        output.discard();
        return kCannotOpenOutput;
    }
    log.writeHeader(resources::kRtfToTextParserTitle, job.input, job.functionCode);

    int changeCount = 0;
    Reading reading = readDocument(input, output, log, job, changeCount);
    int readResult = reading.result;
    input.close();
    // A write error (a full disk) must not pass as a converted file, nor leave
    // a truncated output that looks like one. (RTF that cannot be read keeps
    // the text written up to the fault, with the log saying where.)
    bool written = output.close() && output.wroteCompletely(job.output);
    if (!written) {
        if (output.isSameFile(job.output)) platform::removeFile(job.output);
        if (readResult == 0) readResult = kCannotOpenOutput;
    }

    // The writer decided from the header lines it wrote, and wrote the text
    // in Windows 1252 for the pass.
    int passResult = 0;
    if (readResult == 0 && reading.macintoshTarget) {
        passResult = runMacintoshPass(job.output, log, changeCount);
    }
    if (readResult == 0 && passResult >= 0 && job.outputStep &&
        job.outputStep(job.output, log) < 0) {
        state.messagesWritten = true;
    }
    // The summary follows the pass so that it counts the pass's messages too.
    finishLog(log, job, changeCount);

    // A log that holds nothing (the disk was full) is not kept or pointed to.
    bool logLost = platform::removeIfEmpty(job.log);
    if (readResult < 0) return readResult;
    if (passResult < 0) return passResult;
    // Messages that could not be written leave the job failed, not converted,
    // and a failed job leaves no output: the file the stream wrote, or the
    // one the Macintosh pass or the final step put in its place.
    if (state.messagesWritten && logLost) {
        bool replaced = reading.macintoshTarget || static_cast<bool>(job.outputStep);
        if (replaced || output.isSameFile(job.output)) platform::removeFile(job.output);
        return kCannotOpenOutput;
    }
    if (state.messagesWritten) return kErrorsInLog;
    if (!logLost && !platform::removeIfPresent(job.log)) return kEmptyLogNotDeleted;
    return changeCount;
}

}  // namespace

bool isRtfBackFunction(int functionCode) {
    switch (functionCode) {
        case kRtfToText:
        case kRtfToHtml:
        case kRtfToPageMaker:
        case kRtfToXPress:
        case kRtfToSgml:
        case kRtfToVentura4:
        case kRtfToCompatibleHtml:
        case kRtfToHtmlMultiLingual:
            return true;
        default:
            return false;
    }
}

int runRtfToTextJob(const RtfBackJob& job) {
    try {
        return runJob(job);
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
}

int readRtfWriteText(const char* inputPath, int functionCode, const char* extension,
                     LineStep lineStep) {
    RtfBackSteps steps;
    steps.lineStep = std::move(lineStep);
    return readRtfWriteText(inputPath, functionCode, extension, std::move(steps));
}

int readRtfWriteText(const char* inputPath, int functionCode, const char* extension,
                     RtfBackSteps steps) {
    if (inputPath == nullptr) return kCannotOpenInput;
    RtfBackJob job;
    job.input = inputPath;
    job.output = platform::withExtension(job.input, extension == nullptr ? "" : extension);
    job.log = platform::withExtension(job.input, kLogExtension);
    job.functionCode = functionCode;
    job.lineStep = std::move(steps.lineStep);
    job.codePage = steps.codePage;
    job.outputStep = std::move(steps.outputStep);
    return runRtfToTextJob(job);
}

}  // namespace tessel::frame
