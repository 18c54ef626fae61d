// Rewriting the SGML external tag file from the tag list: the tags in
// ascending byte order, one per line. The new file is written beside the old
// one and then replaces it in one step, so that a failure at any point leaves
// the user's tag file as it was.
#pragma once

#include <string>

namespace tessel::markup {

class SortedStringList;

// Returns 0, or -102 when the new file could not be written completely or
// could not replace the old one (the old file is then unchanged and no
// temporary file is left).
int rewriteSgmlTagFile(const std::string& path, const SortedStringList& tags);

}  // namespace tessel::markup
