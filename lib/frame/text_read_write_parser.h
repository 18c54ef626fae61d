// The line-by-line engine: reads a text file line by line, transforms each
// line by function code, reports results into the error log and writes the
// result, in place behind a backup or into a new file.
#pragma once

#include <string>

namespace tessel::frame {

// `path` is the caller's 260-byte buffer; in output-extension mode it holds
// the output name on return once the names are formed.
int runTextReadWriteParser(char* path, int functionCode, bool deleteBackup, const char* extension);

}  // namespace tessel::frame
