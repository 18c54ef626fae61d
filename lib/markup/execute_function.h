// The per-line dispatcher of the line-oriented jobs: every function code a
// line job can run, the mark-up codes here and the rest in the frame.
#pragma once

#include <string>

namespace tessel::markup {

// Transforms one line (which it may grow or replace) by function code and
// returns a count (zero or more), a message code, or -1000 for codes without
// an implementation.
int ExecuteFunction(std::string& line, int functionCode);

}  // namespace tessel::markup
