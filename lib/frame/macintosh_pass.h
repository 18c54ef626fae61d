// The last step of the PageMaker and QuarkXPress back-conversions when the
// file's header names the Macintosh character set: the written output is
// converted to Macintosh characters and line ends by the line engine (611).
#pragma once

#include <string>

#include "frame/error_log.h"

namespace tessel::frame {

// Converts `outputPath` in place through a temporary copy next to it. The
// engine's messages go into the job's open `log`, numbered on from the job's
// own; its result is reported there too (-113 becomes the message "Error
// during code page conversion of intermediate file."). Returns 0, or the
// failure code of the pass; on failure neither the output nor the
// unconverted text is left.
int runMacintoshPass(const std::string& outputPath, ErrorLog& log, int& changeCount);

// A name next to `outputPath`, with the same base name, that no file has yet:
// "<base>.tmp", else "<base>.001.tmp" to "<base>.999.tmp". Empty when none is
// free or fits the name buffers.
std::string freeTemporaryName(const std::string& outputPath);

}  // namespace tessel::frame
