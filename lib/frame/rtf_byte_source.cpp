#include "frame/rtf_byte_source.h"

#include <algorithm>
#include <cstring>

namespace tessel::frame {

std::size_t MemoryByteSource::read(char* out, std::size_t n) {
    std::size_t take = std::min(n, rest_.size());
    if (take != 0) std::memcpy(out, rest_.data(), take);
    rest_.remove_prefix(take);
    return take;
}

}  // namespace tessel::frame
