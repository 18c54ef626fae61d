// The end of a mark-up job, once its files are closed: a failed job removes
// its output; the log stays when it holds messages and is removed otherwise.
#pragma once

#include <string>

namespace tessel::frame {

// `output` names the file the job wrote (empty for none). Returns `failure`
// when it is negative (-108 when the faulty output cannot be removed), else
// -102 when the job's messages could not be written (the log is empty: the
// output is removed too), -113 when the log holds messages, -114 when the empty log cannot be
// removed, or `changeCount`.
int finishJob(const std::string& output, const std::string& log, int failure, int changeCount);

}  // namespace tessel::frame
