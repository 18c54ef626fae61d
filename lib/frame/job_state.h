// The state of the running job. Jobs run one at a time; every job resets it
// at its start.
#pragma once

namespace tessel::frame {

struct JobState {
    int nextMessage = 1;           // number of the next log message
    bool messagesWritten = false;  // a numbered message went to the log
    bool keepOriginal = false;     // the original file must be kept

    void reset() { *this = JobState{}; }
    int errorCount() const { return nextMessage - 1; }
};

JobState& jobState();

}  // namespace tessel::frame
