#include "frame/job_end.h"

#include "frame/job_state.h"
#include "frame/return_codes.h"
#include "platform/files.h"

namespace tessel::frame {

int finishJob(const std::string& output, const std::string& log, int failure, int changeCount) {
    const JobState& state = jobState();
    if (failure < 0 && !output.empty() && !platform::removeFile(output) &&
        platform::fileExists(output)) {
        failure = kCannotDeleteFaulty;
    }
    if (state.messagesWritten) return failure < 0 ? failure : kErrorsInLog;
    if (!platform::removeFile(log) && failure == 0) return kEmptyLogNotDeleted;
    return failure < 0 ? failure : changeCount;
}

}  // namespace tessel::frame
