// The line functions the frame implements for the line-oriented jobs.
#pragma once

#include <string>

namespace tessel::frame {

// A per-line transformation: changes one line (which it may grow or
// replace) by function code and returns a count (zero or more), a message
// code, or -1000 for codes it does not implement.
using LineFunction = int (*)(std::string& line, int functionCode);

// The line functions of the frame itself: the RTF back-conversion codes (the
// line passes unchanged), the Macintosh character sets and the PC line ends.
// The mark-up codes come on top of these in markup::ExecuteFunction.
int executeFrameFunction(std::string& line, int functionCode);

// The Macintosh character-set conversions (610 and 611): every byte through
// the table; bytes without a counterpart become "^" and the result is -1501.
int convertCharacterSet(std::string& line, int functionCode);

}  // namespace tessel::frame
