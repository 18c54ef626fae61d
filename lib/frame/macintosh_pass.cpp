#include "frame/macintosh_pass.h"

#include <cstdio>

#include "frame/job_names.h"
#include "frame/job_state.h"
#include "frame/return_codes.h"
#include "frame/text_read_write_parser.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace tessel::frame {

namespace {

constexpr const char* kTemporaryExtension = "tmp";
constexpr int kMaxTemporaryNumber = 999;

bool isFree(const std::string& path) {
    return fitsPathBuffer(path) && !platform::outputExists(path);
}

// Runs the engine with a job state of its own for the pass, so that its
// result tells whether the pass itself wrote messages, then merges the state
// back: numbering goes on and earlier messages still count.
int runPassKeepingJobState(const LineJobFiles& files) {
    JobState& state = jobState();
    JobState outer = state;
    state.reset();
    state.nextMessage = outer.nextMessage;
    int result = runLineJob(files, {kAnsiToMac, executeFrameFunction, true}, true);
    state.messagesWritten = state.messagesWritten || outer.messagesWritten;
    state.keepOriginal = state.keepOriginal || outer.keepOriginal;
    return result;
}

}  // namespace

std::string freeTemporaryName(const std::string& outputPath) {
    std::string candidate = platform::withExtension(outputPath, kTemporaryExtension);
    if (isFree(candidate)) return candidate;
    for (int number = 1; number <= kMaxTemporaryNumber; ++number) {
        char extension[16];
        std::snprintf(extension, sizeof extension, "%03d.%s", number, kTemporaryExtension);
        candidate = platform::withExtension(outputPath, extension);
        if (isFree(candidate)) return candidate;
    }
    return {};
}

int runMacintoshPass(const std::string& outputPath, ErrorLog& log, int& changeCount) {
    // A file the user keeps under the temporary name is never deleted: the
    // pass takes the first free name instead.
    // On every failure the output goes: left in the Windows character set
    // under its final name it would pass for the converted file.
    std::string temporary = freeTemporaryName(outputPath);
    if (temporary.empty()) {
        platform::removeFile(outputPath);
        return kCannotOpenOutput;
    }
    if (platform::renameFile(outputPath, temporary) != platform::RenameResult::Ok) {
        platform::removeFile(outputPath);
        return kCannotRenameInput;
    }

    LineJobFiles files;
    files.input = temporary;
    files.output = outputPath;
    files.original = temporary;
    files.sharedLog = &log;
    int passResult = runPassKeepingJobState(files);
    if (passResult == kEmptyLogNotDeleted) passResult = 0;

    int result = log.report(passResult, changeCount, {});
    if (result < 0) {
        // The engine has deleted its faulty output; the unconverted text goes
        // too (the translated RTF it came from stays).
        platform::removeFile(temporary);
        return result;
    }
    platform::removeFile(temporary);
    return 0;
}

}  // namespace tessel::frame
