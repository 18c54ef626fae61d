// The QuarkXPress mark-up job: QuarkXPress tagged text to RTF with the
// header, style-sheet and paragraph tags as external runs and character and
// literal character tags as internal runs.
#pragma once

#include <string>

namespace tessel::dtp {

// Makes sure the working copy ends with a line end, so that its last token is
// one of the end-of-line forms: when its last byte (or, when that is the
// end-of-file mark 0x1A, the byte before it) is neither CR nor LF, "\r\n" is
// written over the mark or at the end. Files of 2 bytes or less stay as they
// are. False when the file cannot be opened or written.
bool endWithLineEnd(const std::string& path);

// The whole job; returns the number of pieces recorded (protected runs and
// dropped "<$>" tags) or a negative code.
int xpressToRtf(const std::string& path);

}  // namespace tessel::dtp
