// Reads a text-mode stream in chunks that end at a line end, the way the
// line engine expects them: a line feed (and a carriage return right after
// it) or a lone carriage return ends a line and is stored as one line feed.
#pragma once

#include <cstddef>
#include <string>

#include "platform/streams.h"

namespace tessel::frame {

class LineReader {
  public:
    // Bytes one read takes at the most.
    static constexpr std::size_t kChunkLimit = 4095;

    explicit LineReader(platform::InputStream& input) : input_(input) {}

    // Replaces `chunk` with the next bytes up to and including a line end, or
    // kChunkLimit bytes. Returns false at end of data (the chunk then holds the
    // bytes read before it).
    bool readChunk(std::string& chunk);

  private:
    platform::InputStream& input_;
};

}  // namespace tessel::frame
