#include "tool_texts.h"

namespace tessel::cli {

std::string fill(std::string_view format, std::initializer_list<std::string_view> values) {
    std::string text;
    const std::string_view* value = values.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's' &&
            value != values.end()) {
            text += *value++;
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

namespace text {
const char* const kVersion = "tessel (Tessel Filter Pack) %s\n%s %s\n";
const char* const kTopUsage =
    "Usage: tessel [--overwrite] COMMAND [ARGUMENTS]\n"
    "       tessel --version | --help\n"
    "\n"
    "Commands:\n";
const char* const kTopOptions =
    "\n"
    "Global options:\n"
    "  --overwrite   replace existing output files without asking (otherwise the\n"
    "                question is asked on a terminal and answered No elsewhere)\n"
    "  --version     show the tool's version and the conversion library's name\n"
    "                and version\n"
    "  -h, --help    show this help\n"
    "\n"
    "\"tessel COMMAND --help\" shows the subcommands of a command, \"tessel COMMAND\n"
    "SUBCOMMAND --help\" their options: output folder (-o), folders walked (-r),\n"
    "quiet report (-q), JSON report (--report json).\n"
    "\n"
    "Exit status of the conversions (text, markup, sgml, back): 0 when every file\n"
    "was converted without an error log, 1 when a file failed, 2 for usage errors,\n"
    "3 when every output was written but an error log was kept (warnings). verify\n"
    "and roundtrip: 0 when nothing was found, 1 when something was, 2 for usage\n"
    "errors.\n";
const char* const kUsageProblem = "tessel: %s\n";
const char* const kTryHelp = "Try '%s --help'.\n";
const char* const kStandardOutputFailed = "tessel: cannot write to standard output: %s\n";
const char* const kUnknownOption = "unknown option %s";
const char* const kOptionNeedsValue = "%s needs a value";
const char* const kMissingCommand = "missing command";
const char* const kUnknownCommand = "unknown command \"%s\"";
const char* const kNoOverwrite = "%s does not take --overwrite";
const char* const kMissingSubcommand = "%s: missing subcommand";
const char* const kUnknownSubcommand = "%s: unknown subcommand \"%s\"";
const char* const kExtNeedsExtension = "--ext needs an extension, such as \".txt\"";
const char* const kExtNotAPath = "--ext takes an extension, not a path: %s";
const char* const kTextJobOptionsOnly = "%s: --ext and --keep-backup apply to text jobs only";
const char* const kTagFileNotTaken =
    "%s: --tag-file applies to HTML and SGML mark-up and SGML tag collection only";
const char* const kTagFileRequired = "%s: --tag-file FILE is required (the SGML tag file)";
const char* const kTagFileNotFound = "%s: tag file not found: %s";
const char* const kNoFilesGiven = "%s: no files given";
const char* const kStandardInputAlone = "%s: - (standard input) must be the only file given";
const char* const kStandardInputWithOutputFolder =
    "%s: - writes the converted file to standard output; -o is not taken with it";
const char* const kOutputDirIsStandardOutput =
    "%s: -o - is not a folder; give - as the file to read standard input and write the "
    "converted file to standard output";
const char* const kStandardInputNotCopied = "tessel: standard input could not be read: %s\n";
const char* const kPipedOutputNotRead =
    "tessel: the converted file could not be read back to standard output\n";
const char* const kReportFormats = "--report takes \"json\", not \"%s\"";
const char* const kIncludeNeedsRecursive = "--include applies to folders walked with -r";
const char* const kOutputDirNeedsExt =
    "%s: -o needs --ext (without it each file is converted in place)";
const char* const kOutputDirNotTaken = "%s: -o does not apply (the output is the --tag-file)";
const char* const kOutputDirNotUsable = "output folder %s: %s";

const char* const kCodePageNumber = "--codepage takes a code page number, not \"%s\"";
const char* const kCodePageRequired =
    "%s: --codepage CP or --choose is required (\"tessel codepages\" lists them)";
const char* const kCodePageOrChoose = "%s: give --codepage or --choose, not both";
const char* const kCodePageNotTaken =
    "%s: --codepage applies to the back commands only, "
    "--choose and --charset to back html-multilingual only";
const char* const kTargetCodePageUnknown =
    "%s: --codepage %s is not a code page this conversion writes (874, 1250 to 1258, or "
    "65001 for UTF-8)";
const char* const kTargetCodePageOnly =
    "%s: --choose and --charset apply to back html-multilingual only";
const unsigned kTargetCodePages[11] = {874,  1250, 1251, 1252, 1253, 1254,
                                       1255, 1256, 1257, 1258, 65001};
const char* const kNoLanguageChosen =
    "tessel: no language chosen (the language dialog was cancelled, or there is no "
    "terminal to ask on); no file converted\n";

const char* const kFileProblem = "tessel: %s: %s\n";
const char* const kIsAFolder = "is a folder, not a file (give -r to convert the files in it)";
const char* const kNameTooLong = "file name too long (%s characters, at most %s)";
const char* const kNoFileMatches = "no file matches";
const char* const kNoFileInFolder = "no file in this folder matches %s";

const char* const kWrittenTo = "Written to %s\n";
const char* const kOutputExistsBesideInput =
    "%s already lies next to the input, where the output is written first; it is left as it "
    "is (move it away, or convert without -o)";
const char* const kWrittenEarlierInRun =
    "%s was written earlier in this run from another input; not replaced";

const char* const kAskYesNo = "%s [y/N] ";
const char* const kAnsweredNo =
    "tessel: %s No (standard input is not a terminal; use --overwrite)\n";
const char* const kWorkerEnded =
    "not converted: the worker process given it ended before reporting it";
const char* const kJobsNumber =
    "--jobs takes a number of processes (0: one per processor), not \"%s\"";
const char* const kErrorLogKept = "Error log: %s\n";
const char* const kQuietSummary =
    "Files: %s, converted: %s, with warnings: %s, failed: %s; outputs created: %s, error "
    "logs: %s.\n";

const char* const kSeeErrorLog = "see %s";
const char* const kNameIsLink = "%s is a symbolic link";
const char* const kNameIsFolder = "%s is a folder";
const char* const kNameNotRegular = "%s is not a regular file";

const char* const kProgressStart = "tessel: converting %s (%s MB)...\n";
const char* const kProgressEnd = "tessel: %s done in %s s\n";

const char* const kFamilyUsage = "Usage: tessel %s SUBCOMMAND [OPTIONS] FILE...\n\nSubcommands:\n";
const char* const kFamilyFooter = "\nRun \"tessel %s SUBCOMMAND --help\" for its options.\n";
const char* const kCommandUsage = "Usage: tessel %s%s [OPTIONS] FILE|FOLDER...\n\n";
const char* const kConvertsEach = "Converts each FILE: %s.";
const char* const kInPlaceNote =
    "Without --ext the file is converted in place; the original is kept under a\n"
    "backup name (.OLD, .001, ...) until the conversion has succeeded.\n";
const char* const kCollectNote =
    "The tag file is rewritten only when a tag is new to it, and replaced in one\n"
    "step, so that a failure never loses it. Edit it down to the tags that are\n"
    "external (between translatable units) and mark up with \"tessel markup sgml\".\n";
const char* const kOutputBesideNote =
    "The output is written next to each file as NAME%s (with -o, into the folder).\n"
    "A FILE of - alone reads standard input and writes the converted file to standard\n"
    "output, the report and the error log to standard error.\n";
const char* const kMergeBesideNote =
    "The output is written next to each XLIFF file as NAME%s (with -o, into the\n"
    "folder), from the original file the XLIFF names, which must lie beside it.\n";
const char* const kMergeNotPiped =
    "%s: - is not taken: the merge reads the original file beside the XLIFF file";
const char* const kInPlaceOptions =
    "  --ext EXT          write the output to a new file with extension EXT\n"
    "  --keep-backup      keep the backup of a file converted in place\n";
const char* const kCodePageOptions =
    "  --codepage CP      the code page the HTML is written in (\"tessel codepages\"\n"
    "                     lists the languages' code pages)\n"
    "  --code-page CP     the same as --codepage\n"
    "  --choose           choose the language in the language dialog instead\n"
    "                     (asked on the terminal)\n"
    "  --charset NAME     the name the META charset declaration gets (default:\n"
    "                     the code page's own)\n";
const char* const kTargetCodePageOption =
    "  --codepage CP      write the file in code page CP (874, 1250 to 1258, 65001\n"
    "                     for UTF-8) where the document declares no encoding of its\n"
    "                     own (default: the RTF's code page, Windows 1252); a\n"
    "                     Macintosh PageMaker or QuarkXPress header still gets the\n"
    "                     Macintosh character set, an HTML or SGML declaration\n"
    "                     (META, XML, byte-order mark) its own encoding\n"
    "  --code-page CP     the same as --codepage\n";
const char* const kEncodingOption =
    "  --encoding NAME    read sources that declare no encoding (no byte-order\n"
    "                     mark, charset or encoding declaration) in NAME: utf-8,\n"
    "                     utf-16le, windows-1250 to -1258, shift_jis, ...\n";
const char* const kXliffOptions =
    "  --xliff VERSION    write XLIFF 1.2 (the default) or 2.1\n"
    "  --source-lang L    the source's language, a tag such as en or pt-BR\n"
    "                     (default: en)\n"
    "  --target-lang L    the language of the translation (default: none)\n";
const char* const kXliffVersions = "--xliff takes 1.2 or 2.1, not %s";
const char* const kBadLanguage = "%s takes a language tag such as en or pt-BR, not \"%s\"";
const char* const kXliffOptionsNotTaken =
    "%s: --xliff, --source-lang and --target-lang apply to the extract commands only";
const char* const kEncodingNotTaken = "%s: --encoding applies to the mark-up commands only";
const char* const kBackCheckOptions =
    "  --original FILE    also compare the RTF with FILE, the RTF the mark-up wrote\n"
    "                     (one input file only), as tessel verify does\n"
    "  --original-dir DIR also compare each NAME.rtf with DIR/NAME.rtf\n"
    "  --no-check         do not check the tags of the RTF (by default each file's\n"
    "                     tags are checked as tessel verify checks them: tags typed\n"
    "                     as text, pairs, markup characters, changed, joined and\n"
    "                     hidden tags; each finding is a numbered message of the\n"
    "                     error log, and the file's status is then 3)\n";
const char* const kBackCheckNotTaken =
    "%s: --original, --original-dir and --no-check apply to the back commands only";
const char* const kOriginalOrFolder = "%s: give --original or --original-dir, not both";
const char* const kOriginalOneInput =
    "%s: --original takes one input file; use --original-dir DIR for several";
const char* const kOriginalNotFound = "%s: original not found: %s";
const char* const kOriginalFolderNotFound = "%s: --original-dir needs a folder: %s";
const char* const kOriginalWithoutChecks =
    "%s: --original and --original-dir need the checks (not --no-check)";
const char* const kUnknownEncoding =
    "%s: \"%s\" is not an encoding the library reads (utf-8, utf-16le, utf-16be, "
    "windows-874, windows-1250 to windows-1258, iso-8859-1, shift_jis, gb2312, euc-kr, big5)";
const char* const kHtmlTagFileOption =
    "  --tag-file FILE    classify tags by this HTML tag definition file first\n"
    "                     (lines of NAME<tab>CLASS[<tab>\" ATTRIBUTE=\"]); default:\n"
    "                     the HTML5 elements file installed with the tool;\n"
    "                     \"--tag-file none\": the built-in table alone\n";
const char* const kSgmlTagFileOption =
    "  --tag-file FILE    the SGML tag file (required): the tags it lists become\n"
    "                     external runs, all other tags internal runs\n";
const char* const kCollectTagFileOption =
    "  --tag-file FILE    the SGML tag file the tags are added to (required;\n"
    "                     created when missing), one tag per line in byte order\n";
const char* const kOutputDirOption =
    "  -o, --output-dir DIR\n"
    "                     write outputs and error logs into DIR (created when\n"
    "                     missing); files found with -r keep their sub-folders\n";
const char* const kBatchOptions =
    "  -r, --recursive    convert the files of FOLDER and its sub-folders that\n"
    "                     match %s (upper or lower case)\n"
    "  --include GLOB     with -r: match GLOB instead (may be repeated)\n"
    "  -q, --quiet        report only the files with problems, and one summary line\n"
    "  --report json      one JSON object per file and one for the summary on\n"
    "                     standard output; the report goes to standard error\n"
    "  --overwrite        replace existing output files without asking\n"
    "  -j, --jobs N       convert the files in N processes (0: one per processor;\n"
    "                     1, the default: one after another); the report is the\n"
    "                     same, in the files' order, but an output that exists is\n"
    "                     not replaced without --overwrite (answered No)\n"
    "  --                 every later argument is a file\n"
    "  -h, --help         show this help\n"
    "Short options may be bundled: -qr is -q -r.\n";
const char* const kExitStatusHelp =
    "\nExit status: 0 when every file was converted without an error log, 1 when a\n"
    "file failed, 2 for usage errors, 3 when every output was written but an error\n"
    "log was kept (warnings). An error log (.ERR/.err) is written next to a file\n"
    "with problems.\n";
}  // namespace text

}  // namespace tessel::cli
