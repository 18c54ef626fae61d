// The per-line dispatcher of the line-oriented jobs.
#pragma once

#include <string>

namespace tessel::frame {

// Transforms one line (which it may grow or replace) by function code and
// returns a count (zero or more), a message code, or -1000 for codes without
// an implementation.
int ExecuteFunction(std::string& line, int functionCode);

// The Macintosh character-set conversions (610 and 611): every byte through
// the table; bytes without a counterpart become "^" and the result is -1501.
int convertCharacterSet(std::string& line, int functionCode);

}  // namespace tessel::frame
