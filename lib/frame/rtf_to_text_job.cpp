#include "frame/rtf_to_text_job.h"

#include <cstring>
#include <new>
#include <string_view>
#include <utility>

#include "frame/dtp_text_headers.h"
#include "frame/error_log.h"
#include "frame/job_names.h"
#include "frame/job_state.h"
#include "frame/macintosh_pass.h"
#include "frame/return_codes.h"
#include "frame/rtf_byte_source.h"
#include "frame/rtf_reader.h"
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

// Reads the RTF into the output; 0 or the failure code.
int readDocument(InputStream& input, OutputStream& output, ErrorLog& log, const RtfBackJob& job,
                 int& changeCount) {
    try {
        RtfLineWriter writer(job.functionCode, job.lineStep, log, output, changeCount);
        StreamByteSource source(input);
        RtfReader reader(source, writer);
        return reader.read();
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
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
    if (!output.open(job.output, StreamMode::Text)) return kCannotOpenOutput;
    if (!log.open(job.log)) {
        output.close();
        platform::removeFile(job.output);
        return kCannotOpenOutput;
    }
    log.writeHeader(resources::kRtfToTextParserTitle, job.input, job.functionCode);

    int changeCount = 0;
    int readResult = readDocument(input, output, log, job, changeCount);
    input.close();
    // A write error (a full disk) must not pass as a converted file.
    if (!output.close() && readResult == 0) readResult = kCannotOpenOutput;

    int passResult = 0;
    if (readResult == 0 && needsMacintoshPass(job.functionCode, job.output)) {
        passResult = runMacintoshPass(job.output, log, changeCount);
    }
    if (readResult == 0 && passResult >= 0 && job.outputStep &&
        job.outputStep(job.output, log) < 0) {
        state.messagesWritten = true;
    }
    // The summary follows the pass so that it counts the pass's messages too.
    finishLog(log, job, changeCount);

    if (readResult < 0) return readResult;
    if (passResult < 0) return passResult;
    if (state.messagesWritten) return kErrorsInLog;
    if (!platform::removeFile(job.log)) return kEmptyLogNotDeleted;
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
                     LineStep lineStep, OutputStep outputStep) {
    if (inputPath == nullptr) return kCannotOpenInput;
    RtfBackJob job;
    job.input = inputPath;
    job.output = platform::withExtension(job.input, extension == nullptr ? "" : extension);
    job.log = platform::withExtension(job.input, kLogExtension);
    job.functionCode = functionCode;
    job.lineStep = std::move(lineStep);
    job.outputStep = std::move(outputStep);
    return runRtfToTextJob(job);
}

}  // namespace tessel::frame
