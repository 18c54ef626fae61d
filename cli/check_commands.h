// The checks of the tool:
//   tessel verify ORIGINAL.rtf TRANSLATED.rtf       a translation against its source
//   tessel verify --batch ORIGINALS TRANSLATED...   pairs by name
//   tessel roundtrip FILE...                        mark up and back, compared
// Findings are printed as they are found, one "FILE:PARAGRAPH: kind: text"
// line each (or JSON), then a summary. Exit status 0 when nothing was found,
// 1 when something was, 2 for usage errors.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessel::cli {

int verifyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int roundtripCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tessel::cli
