// The texts of the XLIFF jobs: log messages ("%d" for the message number)
// and report lines.
#pragma once

namespace tessel::app::text {

extern const char* const kXliffUnreadable;          // %d, the problem
extern const char* const kXliffOtherFormat;         // %d, the XLIFF's format, the command's
extern const char* const kXliffOriginalMissing;     // %d, the path looked for
extern const char* const kXliffOriginalUnsafe;      // %d, the name in the XLIFF
extern const char* const kXliffOriginalChanged;     // %d, the original's path
extern const char* const kXliffUnitMismatch;        // %d, unit id, XLIFF line, original's path
extern const char* const kXliffUntranslated;        // %d, units without target, units
extern const char* const kXliffMarkUpFailed;        // %d, the original, the mark-up's message
extern const char* const kXliffUntranslatedReport;  // units without target, units

}  // namespace tessel::app::text
