// The SGML job: collects the distinct tags of a file into the user's SGML
// external tag file (801), extracts the tags of each line (802), marks up an
// SGML file as RTF with the tags of the tag file external and all others
// internal (803), or runs a line-by-line job over a file (901 and 903, the
// HTML entity encodings, and any other code through ExecuteFunction).
#pragma once

#include <string>

namespace tessel::markup {

// `tagFile` may be empty: 802 and 901 do without one, the other codes return
// -1302. For 801 the result is the number of tags that were new to the tag
// file; otherwise the change count. Failures are return codes; the log (the
// input with extension "ERR") stays only when it holds messages (-113).
int runSgmlTextReadWrite(const std::string& input, int functionCode, const std::string& tagFile);

}  // namespace tessel::markup
