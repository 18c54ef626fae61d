#include "desktop_texts.h"

namespace tessel::desktop::text {

const char* const kApplicationTitle = "Tessel Filter Pack";
const char* const kSettingsOrganisation = "Tessel";
const char* const kSettingsApplication = "TesselFilterPack";
const char* const kSettingsGroup = "Settings";
const char* const kRecentFilesGroup = "Recent File List";
const char* const kRecentCommandsGroup = "Recent File Commands";

const char* const kLogDocumentType =
    "\nLog\nLog\nRTF Files\n.rtf\nTesselFilterPack.Document\nTessel Filter Pack Log";
const char* const kErrorLogDocumentType =
    "\nErrorLog\nError Log\nError Log Files\n.err\nErrorlog.Document\nTessel Filter Pack Error Log";

const char* const kOverwriteEntry = "&Overwrite Existing Files";
const char* const kOverwritePrompt = "Check this to overwrite existing files without prompt.";
const char* const kAskTagFileEntry = "&Ask for HTML Tag Definition File";
const char* const kAskTagFilePrompt = "Check this if you want to use a HTML tag definition file.";
const char* const kCheckTagsEntry = "&Check Tags When Converting Back";
const char* const kCheckTagsPrompt =
    "Check this to have RTF -> Text conversions report damaged tags in the error log.";
const char* const kStandardDialogEntry = "&Use Standard File Dialog";
const char* const kStandardDialogPrompt = "Check this to use the standard Windows File Dialogs";
const char* const kOverwriteIndicator = "OVR";
const char* const kAskTagFileIndicator = "TAG";
const char* const kStandardDialogIndicator = "STD";

const char* const kCloseAllErrorWindows = "Close All &Error Windows";
const char* const kAboutEntry = "&About Tessel Filter Pack...";
const char* const kAboutTitle = "About Tessel Filter Pack";

const char* const kMultiselInvalid = "Invalid or old version of Multisel.dll!";
const char* const kReady = "Ready";
const char* const kSaveChangesQuestion = "Save changes to %1?";
const char* const kCannotOpenFile = "Cannot open %1.\n\n%2";
const char* const kSourcePageWarning =
    "%1 is the file this RTF file was marked up from: replacing it loses the original.";
const char* const kProgressFormat = "file %1 of %2";
const char* const kCancelButton = "Cancel";
const char* const kCancelling = "Cancelling after the current file...";
const char* const kProblemsTitle = "Problems";
const char* const kProblemsFileColumn = "File";
const char* const kProblemsCodeColumn = "Code";
const char* const kProblemsMessageColumn = "First Message";
const char* const kProblemsOpenLog = "Open Log";
const char* const kProblemsOpenAfterRun = "Open error log windows after a run, at most";
const char* const kProblemsWindowLimit = " windows";
const char* const kProblemsCount = "%1 file(s) with an error log";
const char* const kCannotSaveFile = "Cannot save %1.\n\n%2";
const char* const kNotAnRtfFile = "This is not an RTF file.";
const char* const kWhichCommandQuestion =
    "Which command should convert the %1 file(s) dropped (%2)?";
const char* const kLanguageListLabel = "&Language:";
const char* const kEmptyInputNote = "%1 is empty: there is nothing in it to convert. [%2]\n";
const char* const kMissingInputNote = "%1 could not be found. [%2]\n";
const char* const kUnreadableInputNote = "%1 could not be read: %2. [%3]\n";
const char* const kInputIsAFolder = "it is a folder, not a file";

QString with(const char* format, const QString& value) {
    return QString::fromUtf8(format).arg(value);
}

QString with(const char* format, const QString& first, const QString& second) {
    return QString::fromUtf8(format).arg(first, second);
}

}  // namespace tessel::desktop::text
