// The texts the tool itself shows (usage problems, file messages, progress,
// the options of the conversion commands); the batch report's texts live in
// app/core/report_texts.cpp. A "%s" is filled in order by fill().
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tessel::cli {

std::string fill(std::string_view format, std::initializer_list<std::string_view> values);

namespace text {
// Top level.
extern const char* const kVersion;  // tool version, library name, library version
extern const char* const kTopUsage;
extern const char* const kTopOptions;

// Usage: one line naming the problem, then where to read more.
extern const char* const kUsageProblem;          // "tessel: %s\n"
extern const char* const kTryHelp;               // "Try '%s --help'.\n"
extern const char* const kStandardOutputFailed;  // the system's reason
extern const char* const kUnknownOption;
extern const char* const kOptionNeedsValue;
extern const char* const kMissingCommand;
extern const char* const kUnknownCommand;
extern const char* const kNoOverwrite;
extern const char* const kMissingSubcommand;
extern const char* const kUnknownSubcommand;
extern const char* const kExtNeedsExtension;
extern const char* const kExtNotAPath;
extern const char* const kTextJobOptionsOnly;
extern const char* const kTagFileNotTaken;
extern const char* const kTagFileRequired;
extern const char* const kTagFileNotFound;
extern const char* const kNoFilesGiven;
extern const char* const kStandardInputAlone;
extern const char* const kStandardInputWithOutputFolder;
extern const char* const kOutputDirIsStandardOutput;
extern const char* const kStandardInputNotCopied;
extern const char* const kPipedOutputNotRead;
extern const char* const kReportFormats;
extern const char* const kIncludeNeedsRecursive;
extern const char* const kOutputDirNeedsExt;
extern const char* const kOutputDirNotTaken;
extern const char* const kOutputDirNotUsable;
extern const char* const kCodePageNumber;
extern const char* const kCodePageRequired;
extern const char* const kCodePageOrChoose;
extern const char* const kCodePageNotTaken;
extern const char* const kTargetCodePageUnknown;
extern const char* const kTargetCodePageOnly;
extern const unsigned kTargetCodePages[11];
extern const char* const kNoLanguageChosen;

// File arguments.
extern const char* const kFileProblem;  // "tessel: %s: %s\n"
extern const char* const kIsAFolder;
extern const char* const kNameTooLong;
extern const char* const kNoFileMatches;
extern const char* const kNoFileInFolder;

// Outputs moved into the output folder.
extern const char* const kWrittenTo;  // report line

// The overwrite question on a terminal, and its answer elsewhere.
extern const char* const kAskYesNo;
extern const char* const kAnsweredNo;
extern const char* const kWorkerEnded;
extern const char* const kJobsNumber;
// After the summary, one line per error log kept.
extern const char* const kErrorLogKept;
// The one summary line of -q: files, converted, with warnings, failed,
// outputs created, error logs kept.
extern const char* const kQuietSummary;

// Per-file failures on standard error.
extern const char* const kSeeErrorLog;
// Why a name a job writes cannot be used.
extern const char* const kNameIsLink;      // "%s is a symbolic link"
extern const char* const kNameIsFolder;    // "%s is a folder"
extern const char* const kNameNotRegular;  // "%s is not a regular file"

// Progress of a large file on a terminal.
extern const char* const kProgressStart;  // "tessel: converting %s (%s MB)...\n"
extern const char* const kProgressEnd;    // "tessel: %s done in %s s\n"

// Help of the conversion commands.
extern const char* const kFamilyUsage;
extern const char* const kFamilyFooter;
extern const char* const kCommandUsage;
extern const char* const kConvertsEach;
extern const char* const kInPlaceNote;
extern const char* const kCollectNote;
extern const char* const kOutputBesideNote;
extern const char* const kInPlaceOptions;
extern const char* const kCodePageOptions;
extern const char* const kTargetCodePageOption;
extern const char* const kEncodingOption;
extern const char* const kXliffOptions;
extern const char* const kMergeBesideNote;       // the output's extension
extern const char* const kMergeNotPiped;         // the command
extern const char* const kXliffVersions;         // the value given
extern const char* const kBadLanguage;           // the option, the value given
extern const char* const kXliffOptionsNotTaken;  // the command
extern const char* const kEncodingNotTaken;
extern const char* const kBackCheckOptions;
extern const char* const kBackCheckNotTaken;
extern const char* const kOriginalOrFolder;
extern const char* const kOriginalOneInput;
extern const char* const kOriginalNotFound;
extern const char* const kOriginalFolderNotFound;
extern const char* const kOriginalWithoutChecks;
extern const char* const kUnknownEncoding;
extern const char* const kHtmlTagFileOption;
extern const char* const kSgmlTagFileOption;
extern const char* const kCollectTagFileOption;
extern const char* const kOutputDirOption;
extern const char* const kBatchOptions;
extern const char* const kExitStatusHelp;
}  // namespace text

}  // namespace tessel::cli
