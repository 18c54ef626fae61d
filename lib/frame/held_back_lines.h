// The reading of the mark-up jobs: the input is read in pieces of at most
// 4095 bytes (frame::LineReader) and one line is held back, so that the last
// line of a file and a final piece without a line break are handled
// together as one unit.
#pragma once

#include <string>

#include "frame/line_reader.h"
#include "platform/streams.h"

namespace tessel::frame {

// Calls `onLine` with every complete line but the last (its line break
// removed) and then `onLastUnit` with the last line (line break kept) and
// whatever follows it without one. Each returns 0 or a failure code; the
// first failure ends the reading and is returned.
template <typename OnLine, typename OnLastUnit>
int readHeldBackLines(platform::InputStream& input, OnLine&& onLine, OnLastUnit&& onLastUnit) {
    LineReader reader(input);
    std::string accumulator;
    std::string piece;
    accumulator.reserve(8193);
    while (reader.readChunk(piece)) {
        if (!accumulator.empty() && accumulator.back() == '\n') {
            accumulator.pop_back();
            if (int code = onLine(accumulator); code < 0) return code;
            accumulator.swap(piece);
        } else {
            accumulator += piece;
        }
    }
    accumulator += piece;
    return onLastUnit(accumulator);
}

}  // namespace tessel::frame
