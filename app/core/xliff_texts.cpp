#include "core/xliff_texts.h"

namespace tessel::app::text {

const char* const kXliffUnreadable = "[%d] The XLIFF file cannot be merged: %s\n\n";
const char* const kXliffOtherFormat =
    "[%d] The XLIFF file was extracted from a file of the format \"%s\", not \"%s\".\n\n";
const char* const kXliffOriginalMissing =
    "[%d] The original file is not found: %s\n"
    "The merge writes the translated file from the original file that the XLIFF file names; "
    "put it beside the XLIFF file.\n\n";
const char* const kXliffOriginalUnsafe =
    "[%d] The XLIFF file names its original as \"%s\": only a name in the XLIFF file's folder "
    "or below it is read.\n\n";
const char* const kXliffOriginalChanged =
    "[%d] The original file has changed since the XLIFF file was extracted from it: %s\n\n";
const char* const kXliffUnitMismatch =
    "[%d] The source of translation unit %s (line %s of the XLIFF file) is not the text of the "
    "original file %s: the original has changed, or was marked up with another tag file.\n\n";
const char* const kXliffUntranslated =
    "[%d] %s of %s translation units had no translation (no target, or the target as it was "
    "extracted); their source text was kept.\n\n";
const char* const kXliffMarkUpFailed = "[%d] The original file %s could not be marked up: %s\n\n";
const char* const kXliffUntranslatedReport =
    "%s of %s translation units had no translation; their source text was kept.\n";

}  // namespace tessel::app::text
