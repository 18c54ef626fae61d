// The PageMaker mark-up job: a PageMaker tagged-text export to RTF with the
// header, tags and escaped characters as protected runs.
#pragma once

#include <string>

namespace tessel::dtp {

// True when the first line is a PageMaker header whose platform word, the
// three characters before its first ">", is "mac" in any case.
bool isMacintoshPageMaker(const std::string& path);

// The whole job; returns the number of protected runs or a negative code.
int pageMakerToRtf(const std::string& path);

}  // namespace tessel::dtp
