#include "core/report_texts.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tessel::app {

namespace text {
const char* const kConvertingFile = "Converting %s...\n";
const char* const kCaseVariantKept =
    "The file %s differs from the output name %s only in case; it is left as it is.\n";
const char* const kOldOutputKeptAs = "The previous output is kept as %s.\n";
const char* const kOverwriteQuestion =
    "A file named %s already exists.\n\nDo you want to overwrite it?";
const char* const kFileConvertedOk = "File converted OK.\n\n";
const char* const kNoChangesMade = "No changes made!\n\n";
const char* const kChangesMade = "%d change(s) made.\n\n";
const char* const kNoTagsMarkedUp = "No tags marked up!\n\n";
const char* const kOneTagMarkedUp = "One tag marked up.\n\n";
const char* const kTagsMarkedUp = "%d Tags Marked Up.\n\n";
const char* const kCouldNotCreateOutput = "Error! Could not create output file.\n\n";
const char* const kParsingFailed =
    "Error! Parsing of this file failed.\nMore info may be available in the error log file.\n\n";
const CountTexts kNewTags{"No new tags found.\n\n", "1 new tag added to the tag file.\n\n",
                          "%d new tags added to the tag file.\n\n"};
const CountTexts kExtractedTags{"No tags found.\n\n", "1 tag extracted.\n\n",
                                "%d tags extracted.\n\n"};
const char* const kUnknownErrorCode = "Error when converting the file. Error Code: %d\n\n";
const char* const kAfterCodeText = "\n\n";
const char* const kFilesProcessed = "%d File(s) Processed.\n\n";
const char* const kCancelledAfter = "Cancelled after %d of %d files.\n\n";
const char* const kUsingTagFile = "Using Tag Definition File: %s\n";
const char* const kNoTagFileUsed = "No Tag Definition File Used.\n";
const char* const kTagFileChoiceTitle = "Select HTML Tag Definition File";

const char* const kSummaryHeading = "Summary of Markup\n\n";
const char* const kSummaryTimeFormat = "%d/%m/%Y, %H:%M:%S\n\n";
const char* const kSummaryEnd = "\n\n\n\n";

const CountTexts kUnitsExtracted{"No translation units found.\n\n",
                                 "1 translation unit extracted.\n\n",
                                 "%d translation units extracted.\n\n"};
const CountTexts kUnitsMerged{"No translation units merged.\n\n", "1 translation unit merged.\n\n",
                              "%d translation units merged.\n\n"};
const CountTexts kFilesRead{"No files read.\n", "1 file read.\n", "%d files read.\n"};
const CountTexts kOutputsCreated{"No output files created.\n", "1 output file created.\n",
                                 "%d output files created.\n"};
const CountTexts kErrorLogsWritten{"No Error Log Files written.\n", "1 Error Log File written.\n",
                                   "%d Error Log Files written.\n"};
}  // namespace text

namespace {

struct StringEntry {
    std::int64_t id;
    std::string_view text;
};

// The front end's string table of return-code texts: the text of code c is
// entry 5000 - c. Sorted by id.
constexpr std::array kReturnCodeStrings = {
    StringEntry{5101, "File Error! Can not open input file."},
    StringEntry{5102, "File Error! Can not open output file."},
    StringEntry{5103, "Out of memory!"},
    StringEntry{5105, "Out of memory! Can not use setvbuf."},
    StringEntry{5106,
                "File Error! Can not rename the input file. It may be open in another "
                "application."},
    StringEntry{5107,
                "File + Text Manipulation Error! Faulty output file deleted, but original file "
                "can not be renamed back."},
    StringEntry{5108,
                "File + Text Manipulation Error! Can not delete faulty file. Original file "
                "renamed and kept."},
    StringEntry{5110, "Warning! File converted, but old (renamed) file could not be deleted."},
    StringEntry{5113, "Errors Reported in the Error Log File!"},
    StringEntry{5114, "File Error! Empty error log file could not be deleted."},
    StringEntry{5115, "File Error! Output file already exists."},
    StringEntry{5401, "Corrupt RTF file! Too many closing braces."},
    StringEntry{5402, "Corrupt RTF file! Missing closing brace."},
    StringEntry{5403, "Bug! Error in the RTF keyword table."},
    StringEntry{5404, "Corrupt RTF file! Expected hex character, but got something else."},
    StringEntry{5405, "Out of memory! RTF stack too small!"},
    StringEntry{5406, "File Error! This is not an RTF file."},
    StringEntry{5407, "File Error! Can not close an open file."},
    StringEntry{5904, "File Error! Same file name specified for input and output files."},
    StringEntry{6000, "Bug! Invalid number for ExecuteFunction."},
    StringEntry{6301, "File Error! Specified output file exists, but does not contain SGML Tags."},
    StringEntry{6302, "Bug! No file for SGML tags specified. This should not happen."},
    StringEntry{6401, "File Error! RTF Output file already exists."},
    // The XLIFF jobs of the tool's own.
    StringEntry{7001, "XLIFF Error! The file is not an XLIFF file that can be merged."},
    StringEntry{7002, "XLIFF Error! The original file that the XLIFF names is not found."},
    StringEntry{7003,
                "XLIFF Error! The original file is not the one the XLIFF was extracted from."},
    StringEntry{7004, "XLIFF Error! The XLIFF was extracted from a file of another format."},
};

}  // namespace

std::optional<std::string_view> returnCodeText(int code) {
    // Computed in 64 bits: 5000 - INT_MIN does not fit an int.
    std::int64_t id = 5000 - static_cast<std::int64_t>(code);
    auto found = std::lower_bound(
        kReturnCodeStrings.begin(), kReturnCodeStrings.end(), id,
        [](const StringEntry& entry, std::int64_t wanted) { return entry.id < wanted; });
    if (found == kReturnCodeStrings.end() || found->id != id) return std::nullopt;
    return found->text;
}

}  // namespace tessel::app
