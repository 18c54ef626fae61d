// The texts the desktop program shows beyond the batch core's report: the
// application and document-type names, option prompts, questions and
// messages. Every such text lives in desktop_texts.cpp.
#pragma once

#include <QString>

namespace tessel::desktop::text {

extern const char* const kApplicationTitle;  // "Tessel Filter Pack"
// Settings: organisation, application and the group of the options.
extern const char* const kSettingsOrganisation;
extern const char* const kSettingsApplication;
extern const char* const kSettingsGroup;
extern const char* const kRecentFilesGroup;
extern const char* const kRecentCommandsGroup;  // the command of each recent input
// The name of the installed .desktop file, without ".desktop", by which the
// desktop finds the program's icon and name for its windows.
extern const char* const kDesktopFileName;

// The two document types, in the framework's form
// "\nName\nNew name\nFilter name\n.ext\nRegistry id\nRegistry name".
extern const char* const kLogDocumentType;
extern const char* const kErrorLogDocumentType;

// Options: menu entries and status-bar prompts.
extern const char* const kOverwriteEntry;
extern const char* const kOverwritePrompt;
extern const char* const kAskTagFileEntry;
extern const char* const kAskTagFilePrompt;
extern const char* const kCheckTagsEntry;
extern const char* const kCheckTagsPrompt;
extern const char* const kStandardDialogEntry;
extern const char* const kStandardDialogPrompt;
// Status-bar indicators shown while an option is on.
extern const char* const kOverwriteIndicator;
extern const char* const kAskTagFileIndicator;
extern const char* const kStandardDialogIndicator;

// The encoding choices of the Options menu: the two sub-menus with their
// prompts, their entries and the status-bar indicators while a choice other
// than the default is made.
extern const char* const kSourceEncodingMenu;
extern const char* const kSourceEncodingMenuPrompt;
extern const char* const kTargetCodePageMenu;
extern const char* const kTargetCodePageMenuPrompt;
extern const char* const kSourceEncodingDefaultEntry;
extern const char* const kSourceEncodingDefaultPrompt;
extern const char* const kSourceEncodingPrompt;  // %1 the entry's words
extern const char* const kTargetCodePageDefaultEntry;
extern const char* const kTargetCodePageDefaultPrompt;
extern const char* const kTargetCodePagePrompt;     // %1 the entry's words
extern const char* const kSourceEncodingIndicator;  // %1 the encoding, short
extern const char* const kTargetCodePageIndicator;  // %1 the code page
// An entry of an encoding sub-menu: its text, the library's name of the
// encoding and the code page it stands for as a target (0: none); a
// separator goes before an entry that starts a group.
struct EncodingEntryText {
    const char* entry;
    const char* name;
    unsigned codePage;
    bool startsGroup;
};
// The Windows code pages, offered in both sub-menus.
extern const EncodingEntryText kWindowsCodePages[];
extern const int kWindowsCodePageCount;
// The other encodings of the source sub-menu: before the Windows code pages,
// and after them.
extern const EncodingEntryText kUnicodeSourceEncodings[];
extern const int kUnicodeSourceEncodingCount;
extern const EncodingEntryText kOtherSourceEncodings[];
extern const int kOtherSourceEncodingCount;
// Code page 65001, after the Windows ones in the target sub-menu.
extern const EncodingEntryText kUtf8TargetCodePage;

// The output folder of the Options menu: its entry and prompt, the
// status-bar indicator while one is set, its dialog, and the report's lines
// about it.
extern const char* const kOutputFolderEntry;
extern const char* const kOutputFolderPrompt;
extern const char* const kOutputFolderIndicator;
extern const char* const kOutputFolderTitle;
extern const char* const kOutputFolderBesideInputs;  // the check box
extern const char* const kOutputFolderLabel;
extern const char* const kOutputFolderBrowse;
extern const char* const kOutputFolderNotUsable;  // %1 the folder, %2 the reason
extern const char* const kWrittenToNote;          // %1 the output in the folder

// A large error log going into its window: the status bar's text, and why
// it cannot be saved meanwhile.
extern const char* const kLoadingLog;  // %1 the log's name, %2 the percentage
extern const char* const kStillLoading;

extern const char* const kCloseAllErrorWindows;  // "Close All &Error Windows"
extern const char* const kAboutEntry;            // "&About Tessel Filter Pack..."
extern const char* const kAboutTitle;            // "About Tessel Filter Pack"

extern const char* const kMultiselInvalid;      // "Invalid or old version of Multisel.dll!"
extern const char* const kReady;                // idle status-bar text
extern const char* const kSaveChangesQuestion;  // %1 the document title
extern const char* const kCannotOpenFile;       // %1 path, %2 reason
extern const char* const kCannotSaveFile;       // %1 path, %2 reason
extern const char* const kNotAnRtfFile;

// A batch on its way: the progress bar's text and the Cancel button.
extern const char* const kProgressFormat;  // %1 the file's number, %2 the files chosen
extern const char* const kCancelButton;
extern const char* const kCancelling;  // the batch stops after the current file

// Before the overwrite question when the output is the page the RTF file
// was marked up from.
extern const char* const kSourcePageWarning;  // %1 the page

// The problems list of the last run.
extern const char* const kProblemsTitle;
extern const char* const kProblemsFileColumn;
extern const char* const kProblemsCodeColumn;
extern const char* const kProblemsMessageColumn;
extern const char* const kProblemsOpenLog;
extern const char* const kProblemsOpenAfterRun;  // the option to open the logs' windows
extern const char* const kProblemsWindowLimit;   // at most this many of them
extern const char* const kProblemsCount;         // %1 the number of files with a log

extern const char* const kLanguageListLabel;  // above the language dialog's list

// Report lines about an input that gave nothing to convert; the last
// argument is the library's code for it.
extern const char* const kEmptyInputNote;       // %1 path, %2 code
extern const char* const kMissingInputNote;     // %1 path, %2 code
extern const char* const kUnreadableInputNote;  // %1 path, %2 reason, %3 code
extern const char* const kInputIsAFolder;       // the reason for a folder

// Dropped files that more than one command takes.
extern const char* const kWhichCommandQuestion;  // %1 the number of files, %2 the first

// The command line: the usage --help prints, the version --version prints
// (%1 the program's version, %2 the library's name, %3 its version) and the
// usage error of an unknown option (%1 the option).
extern const char* const kCommandLineHelp;
extern const char* const kCommandLineVersion;
extern const char* const kCommandLineUnknownOption;

// A text with "%1" (and "%2", "%3") filled in.
QString with(const char* format, const QString& value);
QString with(const char* format, const QString& first, const QString& second);
QString with(const char* format, const QString& first, const QString& second, const QString& third);

}  // namespace tessel::desktop::text
