// The numbered messages the tag checks of a back-conversion add to the
// job's error log: one per finding kind, codes -601 to -619. Every text of
// them lives in back_check_texts.cpp.
#pragma once

#include <optional>
#include <string_view>

#include "verify/finding.h"

namespace tessel::app {

struct BackCheckMessage {
    int code;
    // "%d" the message number, then "%s": the paragraph, the finding's
    // description, and (unless contextFree) the separator line, the
    // paragraph's text, the separator line.
    std::string_view text;
    std::string_view followUp;  // a second sentence, may be empty
    bool contextFree;
};

// The message of a finding of the check of the file alone (`compared`
// false) or of the comparison with the original; none for the kinds the
// back-conversion's own log already tells (characters it cannot hold).
const BackCheckMessage* backCheckMessage(verify::FindingKind kind, bool compared);

// The comparison asked for, but no original was found for the file
// ("%d" number, "%s" what was looked for).
const BackCheckMessage& noOriginalMessage();

}  // namespace tessel::app
