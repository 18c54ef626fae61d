#include "frame/job_state.h"

namespace tessel::frame {

JobState& jobState() {
    static JobState state;
    return state;
}

}  // namespace tessel::frame
