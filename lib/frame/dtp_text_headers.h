// Header lines of PageMaker and QuarkXPress tagged text: they tell whether a
// file is in the Macintosh character set, which decides whether a
// back-converted file needs the Macintosh pass.
#pragma once

#include <string>
#include <string_view>

namespace tessel::frame {

// "<PMTags1.0 mac>": a PageMaker header whose first ">" follows "mac" (any
// case).
bool pageMakerHeaderNamesMac(std::string_view firstLine);

// "<v4.00><e0>": a QuarkXPress version tag followed by encoding 0. The header
// is the first line, or the second when the first starts with "#".
bool xpressHeaderIsMacintosh(std::string_view firstLine, std::string_view secondLine);

}  // namespace tessel::frame
