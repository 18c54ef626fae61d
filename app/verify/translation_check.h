// The translation check of one pair of files: reads the original and the
// translated RTF paragraph by paragraph, lines the paragraphs up (some may
// have been added or removed), compares each pair (paragraph_check.h) and
// names the characters the chosen back-conversion cannot hold. Memory stays
// within a window of paragraphs, whatever the size of the files.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "verify/check_targets.h"
#include "verify/finding.h"
#include "verify/styled_paragraph.h"

namespace tessel::verify {

struct VerifyOptions {
    // The back-conversion that will write the translation; none: the one of
    // the format the original's first tags show (no check of characters
    // when they show none).
    std::optional<TargetChoice> target;
    bool strict = false;    // internal runs keep their order too
    bool keepText = false;  // each finding carries its whole paragraph
};

struct PairOutcome {
    std::size_t sourceParagraphs = 0;
    std::size_t translatedParagraphs = 0;
    std::size_t findings = 0;
    std::string target;  // the back-conversion checked against; empty: none
};

PairOutcome verifyTranslation(const std::string& original, const std::string& translated,
                              const VerifyOptions& options, FindingSink& sink);

// The back-conversion of the format that `paragraphs` (the first of a
// marked-up file) show by their tags; nothing when they show none.
std::optional<TargetChoice> detectTarget(const StyledParagraph* const* paragraphs,
                                         std::size_t count);

// The first characters of a paragraph for a finding line.
std::string quoteOf(std::string_view text);

}  // namespace tessel::verify
