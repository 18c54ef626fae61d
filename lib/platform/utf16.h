// UTF-16 bytes and the UTF-8 the library carries text in, both ways, for
// sources that come in UTF-16 and the files written back in it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessel::platform {

// UTF-8 of UTF-16 `bytes` (the mark left out). A unit that pairs with none
// becomes U+FFFD and is counted in `unpaired`; an odd last byte too.
std::string utf8OfUtf16(std::string_view bytes, bool bigEndian, std::size_t& unpaired);

// UTF-16 bytes of UTF-8 `text` (bytes that start no valid sequence are read
// as U+FFFD).
std::string utf16OfUtf8(std::string_view text, bool bigEndian);

}  // namespace tessel::platform
