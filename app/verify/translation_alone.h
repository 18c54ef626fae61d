// The checks of a translated RTF file that need no original: what a
// back-conversion can tell from the file it reads. Tag text outside the
// protected styles and markup characters typed in the text (as the
// comparison finds them against an empty source), closing tags of HTML and
// SGML with no opening tag before them, protected runs that no longer have
// the form of a tag of the format (a character lost or typed, quotes turned
// typographic), paragraph tags in the middle of a paragraph (two paragraphs
// joined), and protected runs whose text is hidden.
#pragma once

#include <optional>
#include <string>

#include "verify/check_targets.h"
#include "verify/finding.h"
#include "verify/translation_check.h"

namespace tessel::verify {

struct AloneOptions {
    // The back-conversion that writes the file; none: the one of the
    // format its first tags show.
    std::optional<TargetChoice> target;
    bool keepText = false;  // each finding carries its whole paragraph
};

PairOutcome checkTranslationAlone(const std::string& translated, const AloneOptions& options,
                                  FindingSink& sink);

}  // namespace tessel::verify
