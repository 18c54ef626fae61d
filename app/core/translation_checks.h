// The translation check and the round trip as the shells call them (the
// command-line tool and the desktop program's "Verify Translation..."): each
// hands back the findings as data and as the lines of the report.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/check_texts.h"
#include "verify/finding.h"
#include "verify/roundtrip.h"
#include "verify/translation_check.h"

namespace tessel::app {

struct TranslationPair {
    std::string original;
    std::string translated;
};

struct Pairing {
    std::vector<TranslationPair> pairs;
    std::vector<std::string> problems;  // names that found no partner
};

// Pairs each translated NAME.rtf (the files given, and the .rtf files of
// the folders given) with NAME.rtf in the folder `originals` (extension in
// any case). Originals left without a translation are named in problems
// when a folder of translations was given.
Pairing pairTranslations(const std::string& originals, const std::vector<std::string>& translated);

// Checks the pairs in order; each finding goes to `sink` as it is found.
VerifyTotals verifyPairs(const std::vector<TranslationPair>& pairs,
                         const verify::VerifyOptions& options, verify::FindingSink& sink);

struct VerifyReport {
    std::vector<verify::Finding> findings;
    std::vector<std::string> lines;  // one per finding, then the summary
    VerifyTotals totals;
};
VerifyReport verifyTranslations(const std::vector<TranslationPair>& pairs,
                                const verify::VerifyOptions& options);

// The lines of one file's round trip.
std::vector<std::string> roundTripLines(const verify::RoundTripResult& result);

struct RoundTripReport {
    std::vector<verify::RoundTripResult> results;
    std::vector<std::string> lines;  // each file's lines, then the summary
    RoundTripTotals totals;
};
// Each file goes through `options.format`, or (null) the format its header
// or extension shows, with `options.tagFile` for the formats that take one;
// `onFile` sees each result as it is ready. A file of no
// known format is a failed result with no format.
RoundTripReport roundTripFiles(
    const std::vector<std::string>& files, const verify::RoundTripOptions& options,
    const std::function<void(const verify::RoundTripResult&)>& onFile = {});

}  // namespace tessel::app
