#include "desktop_texts.h"

namespace tessel::desktop::text {

const char* const kApplicationTitle = "Tessel Filter Pack";
const char* const kSettingsOrganisation = "Tessel";
const char* const kSettingsApplication = "TesselFilterPack";
const char* const kSettingsGroup = "Settings";
const char* const kRecentFilesGroup = "Recent File List";
const char* const kRecentCommandsGroup = "Recent File Commands";
const char* const kDesktopFileName = "org.tesselfilterpack.TesselFilterPack";

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

const char* const kSourceEncodingMenu = "Source &Encoding for Mark-Up";
const char* const kSourceEncodingMenuPrompt =
    "Choose the encoding mark-ups read a source in that declares none.";
const char* const kTargetCodePageMenu = "Target Code &Page for Back-Conversions";
const char* const kTargetCodePageMenuPrompt =
    "Choose the code page RTF -> Text conversions write a document in that declares none.";
const char* const kSourceEncodingDefaultEntry = "As the File Declares or the Format's &Default";
const char* const kSourceEncodingDefaultPrompt =
    "Check this to read each source as it declares, else in the format's default encoding.";
const char* const kSourceEncodingPrompt =
    "Check this to read sources that declare no encoding as %1 when marking up.";
const char* const kTargetCodePageDefaultEntry = "As the Document Declares or the Format's &Default";
const char* const kTargetCodePageDefaultPrompt =
    "Check this to write each document as it declares, else in the format's default code page.";
const char* const kTargetCodePagePrompt =
    "Check this to write documents that declare no encoding in code page %1 when converting "
    "back.";
const char* const kSourceEncodingIndicator = "IN %1";
const char* const kTargetCodePageIndicator = "OUT %1";

// Each sub-menu gives a letter to one entry only: the source sub-menu holds
// these, the Unicode and the other encodings; the target one these, UTF-8
// and its default.
const EncodingEntryText kWindowsCodePages[] = {
    {"874 &Thai", "windows-874", 874, true},
    {"1250 &Central European", "windows-1250", 1250, false},
    {"1251 C&yrillic", "windows-1251", 1251, false},
    {"1252 &Western European", "windows-1252", 1252, false},
    {"1253 &Greek", "windows-1253", 1253, false},
    {"1254 Tu&rkish", "windows-1254", 1254, false},
    {"1255 &Hebrew", "windows-1255", 1255, false},
    {"1256 &Arabic", "windows-1256", 1256, false},
    {"1257 &Baltic", "windows-1257", 1257, false},
    {"1258 &Vietnamese", "windows-1258", 1258, false},
};
const int kWindowsCodePageCount = sizeof kWindowsCodePages / sizeof kWindowsCodePages[0];
const EncodingEntryText kUnicodeSourceEncodings[] = {
    {"&UTF-8", "utf-8", 0, true},
    {"UTF-16 Little-E&ndian", "utf-16le", 0, false},
    {"UTF-16 Big-&Endian", "utf-16be", 0, false},
};
const int kUnicodeSourceEncodingCount =
    sizeof kUnicodeSourceEncodings / sizeof kUnicodeSourceEncodings[0];
const EncodingEntryText kOtherSourceEncodings[] = {
    {"ISO 8859-1 &Latin-1", "iso-8859-1", 0, true},
    {"US-A&SCII", "us-ascii", 0, false},
    {"T&IS-620 Thai", "tis-620", 0, false},
    {"Shift_JIS &Japanese", "shift_jis", 0, true},
    {"GB&2312 Simplified Chinese", "gb2312", 0, false},
    {"GB&K Simplified Chinese", "gbk", 0, false},
    {"EUC-KR K&orean", "euc-kr", 0, false},
    {"Big&5 Traditional Chinese", "big5", 0, false},
};
const int kOtherSourceEncodingCount =
    sizeof kOtherSourceEncodings / sizeof kOtherSourceEncodings[0];
const EncodingEntryText kUtf8TargetCodePage = {"65001 &UTF-8", "utf-8", 65001, true};

const char* const kOutputFolderEntry = "Output &Folder...";
const char* const kOutputFolderPrompt =
    "Choose a folder the conversions write their outputs and error logs into, or write them next "
    "to their inputs.";
const char* const kOutputFolderIndicator = "DIR";
const char* const kOutputFolderTitle = "Output Folder";
const char* const kOutputFolderBesideInputs = "Write outputs &next to their inputs";
const char* const kOutputFolderLabel = "&Folder:";
const char* const kOutputFolderBrowse = "&Browse...";
const char* const kOutputFolderNotUsable =
    "The output folder %1 cannot be used: %2. No file was converted.\n";
const char* const kWrittenToNote = "Written to %1\n";

const char* const kLoadingLog = "Reading %1... %2 %";
const char* const kStillLoading = "The file is still being read; save it once it is complete.";

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

const char* const kCommandLineHelp =
    "Usage: TesselFilterPack [OPTION]... [FILE]...\n"
    "Opens each FILE in a window of its own: a log (.rtf) or an error log (.err).\n"
    "With no FILE, a new log is opened. Arguments after -- are all files.\n"
    "\n"
    "Options:\n"
    "  --help                 print this help and exit\n"
    "  --version              print the program's version and exit\n"
    "\n"
    "Qt's options, with one dash or two, among them:\n"
    "  -style NAME            the widget style (e.g. Fusion)\n"
    "  -stylesheet FILE       a style sheet for the windows\n"
    "  -platform NAME         the windowing platform (xcb, wayland, offscreen)\n"
    "  -display DISPLAY       the X server to use\n"
    "  -geometry GEOMETRY     the main window's size and position (WxH+X+Y)\n"
    "  -reverse               lay the windows out right to left\n"
    "\n"
    "Exit status: 0 when the program ends normally, 2 for an unknown option.\n";
const char* const kCommandLineVersion = "TesselFilterPack (Tessel Filter Pack) %1\n%2 %3\n";
const char* const kCommandLineUnknownOption =
    "TesselFilterPack: unknown option %1\nTry 'TesselFilterPack --help' for more information.\n";

QString with(const char* format, const QString& value) {
    return QString::fromUtf8(format).arg(value);
}

QString with(const char* format, const QString& first, const QString& second) {
    return QString::fromUtf8(format).arg(first, second);
}

QString with(const char* format, const QString& first, const QString& second,
             const QString& third) {
    return QString::fromUtf8(format).arg(first, second, third);
}

}  // namespace tessel::desktop::text
