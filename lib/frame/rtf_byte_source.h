// Where the RTF reader takes its bytes from: a file or a block of memory.
// Bytes come as they are stored; the reader applies the text-mode rules it
// needs itself, so that plain runs of text can be taken in bulk.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/streams.h"

namespace tessel::frame {

class RtfByteSource {
  public:
    virtual ~RtfByteSource() = default;
    // Copies up to `n` bytes to `out`; 0 at end of data.
    virtual std::size_t read(char* out, std::size_t n) = 0;
};

// Reads a stream opened in binary mode.
class StreamByteSource final : public RtfByteSource {
  public:
    explicit StreamByteSource(platform::InputStream& input) : input_(input) {}
    std::size_t read(char* out, std::size_t n) override { return input_.read(out, n); }

  private:
    platform::InputStream& input_;
};

// Reads bytes held in memory (the caller keeps them alive).
class MemoryByteSource final : public RtfByteSource {
  public:
    explicit MemoryByteSource(std::string_view bytes) : rest_(bytes) {}
    std::size_t read(char* out, std::size_t n) override;

  private:
    std::string_view rest_;
};

}  // namespace tessel::frame
