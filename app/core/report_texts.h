// The texts the batch core writes into the report: per-file results, the run
// summary, the overwrite question and the table of return-code texts. Every
// text of the report lives in report_texts.cpp and nowhere else.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessel::app {

namespace text {
// A text by count in its three forms (summary lines, tag counts).
struct CountTexts {
    const char* none;
    const char* one;
    const char* many;  // "%d ..."
};

// Per file.
extern const char* const kConvertingFile;        // "Converting %s...\n"
extern const char* const kOverwriteQuestion;     // "A file named %s already exists..."
extern const char* const kFileConvertedOk;       // changes kind, 0, conversion flag set
extern const char* const kNoChangesMade;         // changes kind, 0, conversion flag clear
extern const char* const kChangesMade;           // changes kind, positive: "%d change(s) made.\n\n"
extern const char* const kNoTagsMarkedUp;        // tags kind, 0
extern const char* const kOneTagMarkedUp;        // tags kind, 1
extern const char* const kTagsMarkedUp;          // tags kind, positive: "%d Tags Marked Up.\n\n"
extern const char* const kCouldNotCreateOutput;  // tags kind, -2
extern const char* const kParsingFailed;         // tags kind, -1
// SGML tag collection and extraction, by count.
extern const CountTexts kNewTags;
extern const CountTexts kExtractedTags;
extern const CountTexts kUnitsExtracted;     // XLIFF extraction: units written
extern const CountTexts kUnitsMerged;        // XLIFF merge: units translated
extern const char* const kUnknownErrorCode;  // "Error when converting the file. Error Code: %d\n\n"
extern const char* const kAfterCodeText;     // "\n\n" after a return-code text
extern const char* const kFilesProcessed;    // "%d File(s) Processed.\n\n"
// Instead of it when the user stopped the batch: files done, files chosen.
extern const char* const kCancelledAfter;  // "Cancelled after %d of %d files.\n\n"
// An existing output whose name differs from the output's only in case is
// somebody else's file (a source "x.HTM" beside an output "x.htm"): it is
// never replaced.
extern const char* const kCaseVariantKept;  // "%s ... %s"
// The old output could not be put back after a failed conversion.
extern const char* const kOldOutputKeptAs;  // "%s"
// HTML mark-up, after the heading, when a tag definition file was asked for.
extern const char* const kUsingTagFile;  // "Using Tag Definition File: %s\n"
extern const char* const kNoTagFileUsed;
// Title of the file choice for the tag definition file.
extern const char* const kTagFileChoiceTitle;  // "Select HTML Tag Definition File"

// Run summary.
extern const char* const kSummaryHeading;
extern const char* const kSummaryTimeFormat;  // strftime format
extern const char* const kSummaryEnd;

extern const CountTexts kFilesRead;
extern const CountTexts kOutputsCreated;
extern const CountTexts kErrorLogsWritten;
}  // namespace text

// The string-table text of return code `code` (resource 5000 minus the code),
// or nothing when the table has none.
std::optional<std::string_view> returnCodeText(int code);

}  // namespace tessel::app
