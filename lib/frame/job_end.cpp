#include "frame/job_end.h"

#include "frame/job_state.h"
#include "frame/return_codes.h"
#include "platform/files.h"

namespace tessel::frame {

int finishJob(const std::string& output, const std::string& log, int failure, int changeCount) {
    const JobState& state = jobState();
    // A log that holds nothing (the disk was full) is not kept or pointed to;
    // messages that could not be written leave the job failed, not converted.
    bool logLost = platform::removeIfEmpty(log);
    if (state.messagesWritten && logLost && failure == 0) failure = kCannotOpenOutput;
    // A failed job leaves no output.
    if (failure < 0 && !output.empty() && !platform::removeFile(output) &&
        platform::fileExists(output)) {
        failure = kCannotDeleteFaulty;
    }
    if (state.messagesWritten) return failure < 0 ? failure : kErrorsInLog;
    if (!logLost && !platform::removeIfPresent(log) && failure == 0) return kEmptyLogNotDeleted;
    return failure < 0 ? failure : changeCount;
}

}  // namespace tessel::frame
