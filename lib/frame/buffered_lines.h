// The passes of the line engine that convert bytes alone (the character
// sets, 610 and 611) or only line ends (613) on whole lines of the input's
// buffer at once. Read line by line, a file of short lines costs a read, a
// conversion, a report and a write per line; here the lines that lie whole
// in the buffer are converted and given their line ends in one pass, with
// exactly the bytes the line engine would write for them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "frame/caret_table.h"

namespace tessel::frame {

struct BufferedLines {
    std::size_t inputBytes = 0;   // bytes of the buffer taken
    std::size_t outputBytes = 0;  // bytes of `out` to write, as they stand
    std::size_t lines = 0;        // lines taken
};

// Converts the lines at the start of `buffered` (bytes of a text file as
// they stand, read from the engine's current position, which starts a line)
// through `table` (null: the bytes stay as they are), each line end written
// as `lineEnd`, into `out`, and says how much was taken and written. A line
// ends where the engine's reader ends one: at CR LF or a lone LF (with a
// lone CR right after it), or at a lone CR. Only what the engine would write
// alike is taken, so it stops:
// - before a line with a byte that has no counterpart (the engine reports
//   that line);
// - before the last line whose end `buffered` holds, as the engine keeps
//   each line until it has read the next one and converts the last line of
//   a file together with a piece after it that has no line end;
// - where `buffered` ends before a line end can be told (a CR without the
//   byte after it).
// Nothing is taken when the table does not keep CR and LF as they are.
BufferedLines convertBufferedLines(std::string_view buffered, const CaretTable* table,
                                   std::string_view lineEnd, std::string& out);

}  // namespace tessel::frame
