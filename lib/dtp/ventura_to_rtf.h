// The Ventura mark-up jobs: Ventura tagged text (versions 5 to 7, and version
// 4) to RTF with paragraph tags and table structure as external runs and
// codes as internal runs. The input itself is parsed; no working copy.
#pragma once

#include <string>

namespace tessel::dtp {

// Versions 5 to 7. Returns the number of protected runs or a negative code.
int venturaToRtf(const std::string& path);

// Version 4 (wrapped lines of running text are joined).
int ventura4ToRtf(const std::string& path);

}  // namespace tessel::dtp
