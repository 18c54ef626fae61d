// The texts of the translation check and the round trip: one line per
// finding or difference in the "FILE:PARAGRAPH: kind: text" form that
// editors and build tools read, the summaries, and the JSON documents.
// Every text of both commands lives in check_texts.cpp.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "core/json_text.h"
#include "core/report_texts.h"
#include "verify/finding.h"
#include "verify/roundtrip.h"

namespace tessel::app {

// The lines around the findings and differences in a log window.
namespace text {
extern const char* const kCheckingPair;       // "Checking %s against %s...\n"
extern const CountTexts kPairFindings;        // after a pair: "%d findings.\n\n"
extern const char* const kCheckingRoundTrip;  // "Checking the round trip of %s...\n"
extern const char* const kAfterRoundTrip;     // after a file's lines
extern const char* const kVerifySummaryHeading;
extern const char* const kRoundTripSummaryHeading;
}  // namespace text

// "t.rtf: no original t.rtf in DIR" and the like: a file left unpaired.
std::string noOriginalLine(const std::string& translated, const std::string& stem,
                           const std::string& where);
std::string noTranslationLine(const std::string& original);

// "t.rtf:3: missing-run: internal run "</B>" of source paragraph 3 is
// missing, in "First paragraph with a..."".
std::string findingLine(const verify::Finding& finding);
// What a finding line says after its kind ("internal run ... is missing").
std::string findingDescription(const verify::Finding& finding);

// Findings counted by kind name, in the order of the kinds.
using KindCounts = std::map<std::string, std::size_t>;

struct VerifyTotals {
    std::size_t translations = 0;
    std::size_t withFindings = 0;
    std::size_t findings = 0;
    std::size_t paragraphs = 0;
    std::string target;  // the one target of a single pair; empty otherwise
    KindCounts byKind;
};
std::string verifySummary(const VerifyTotals& totals);

// "page.htm:21:63: joined-lines: "\n" became " " (output 21:63): a line
// break inside running text becomes a blank".
std::string differenceLine(const verify::Difference& difference);
// "page.htm: identical after the round trip through html".
std::string identicalLine(const std::string& file, std::string_view format);
// A file that could not make the round trip.
std::string roundTripFailureLine(const verify::RoundTripResult& result);

struct RoundTripTotals {
    std::size_t files = 0;
    std::size_t identical = 0;
    std::size_t failed = 0;
    std::size_t differences = 0;
    std::size_t unexplained = 0;
    KindCounts byRule;
};
std::string roundTripSummary(const RoundTripTotals& totals);

// JSON pieces.
std::string findingJson(const verify::Finding& finding);
std::string differenceJson(const verify::Difference& difference);

}  // namespace tessel::app
