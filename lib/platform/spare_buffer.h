// Rebuilding a text in place without an allocation per call.
#pragma once

#include <cstddef>
#include <string>

namespace tessel::platform {

// A spare buffer larger than this is given back after use rather than kept
// for the next call: a file's one huge text must not stay allocated.
inline constexpr std::size_t kSpareBufferKeepLimit = 1 << 20;

// Clears a buffer kept between calls (one per place that calls this), lets
// `build` write the new text into it and swaps it with `text`. The two
// buffers trade places and neither is freed, so rebuilding every line or
// piece of a file stops allocating once both are as large as the texts.
template <typename Build>
void rebuildInPlace(std::string& text, Build build) {
    thread_local std::string spare;
    spare.clear();
    build(spare);
    text.swap(spare);
    if (spare.capacity() > kSpareBufferKeepLimit) std::string().swap(spare);
}

// As rebuildInPlace, for a build that may give up: the buffers trade places
// only when `build` returns true (which is returned). The spare buffer is not
// cleared: `build` sizes it, and a string that grows fills only the part
// added, so a buffer about as large as the last text is not filled again.
template <typename Build>
bool rebuildInPlaceIf(std::string& text, Build build) {
    thread_local std::string spare;
    const bool built = build(spare);
    if (built) text.swap(spare);
    if (spare.capacity() > kSpareBufferKeepLimit) std::string().swap(spare);
    return built;
}

}  // namespace tessel::platform
