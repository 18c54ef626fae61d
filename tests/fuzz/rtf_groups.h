// The check the mark-up fuzz targets share: RTF text opens and closes its
// groups in pairs.
#pragma once

#include <cstddef>
#include <string_view>

namespace tessel::fuzz {

// Depth after `text` starting at `depth`, or -1 when a "}" closes more than
// was opened. Escaped characters and control words are skipped.
inline long groupDepth(std::string_view text, long depth = 0) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;  // an escaped character or the first letter of a control word
        } else if (text[i] == '{') {
            ++depth;
        } else if (text[i] == '}' && --depth < 0) {
            return -1;
        }
    }
    return depth;
}

}  // namespace tessel::fuzz
