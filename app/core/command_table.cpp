#include "core/command_table.h"

#include <array>
#include <variant>

#include "core/xliff_jobs.h"
#include "tessel_cat.h"

namespace tessel::app {

namespace filter {
const std::string_view kText = "Text Files|*.txt|All Files (*.*)|*.*||";
const std::string_view kRtf = "RTF Files|*.rtf|All Files (*.*)|*.*||";
const std::string_view kQuarkXPress = "QuarkXPress Tag Files|*.xtg|All Files (*.*)|*.*||";
const std::string_view kHtml = "HTML Files|*.htm*|All Files (*.*)|*.*||";
const std::string_view kSgml = "SGML Files|*.sgm*|All Files (*.*)|*.*||";
const std::string_view kXliff = "XLIFF Files|*.xlf;*.xliff|All Files (*.*)|*.*||";
}  // namespace filter

namespace {

// Function codes of the line engine.
constexpr int kMacintoshToAnsi = 610;
constexpr int kAnsiToMacintosh = 611;
constexpr int kLineBreaksToPc = 613;
// Function code of the SGML job's tag extraction.
constexpr int kExtractSgmlTags = 802;

const std::array kCommands = {
    Command{
        .family = "text",
        .name = "mac-to-ansi",
        .summary = "convert Macintosh characters to ANSI (Windows 1252)",
        .group = std::nullopt,
        .fileChoiceTitle = "Select Text Files",
        .fileFilter = filter::kText,
        .heading = "Converting Macintosh characters to ANSI...\n\n",
        .outputExtension = "",
        .exportBinding = TextEngineExport{funciTextReadWriteParser, kMacintoshToAnsi},
        .kind = ReportKind::Changes,
        .conversionFlag = true,
    },
    Command{
        .family = "text",
        .name = "ansi-to-mac",
        .summary = "convert ANSI (Windows 1252) characters to the Macintosh character set",
        .group = std::nullopt,
        .fileChoiceTitle = "Select Text Files",
        .fileFilter = filter::kText,
        .heading = "Converting ANSI characters to Macintosh...\n\n",
        .outputExtension = "",
        .exportBinding = TextEngineExport{funciTextReadWriteParser, kAnsiToMacintosh},
        .kind = ReportKind::Changes,
        .conversionFlag = true,
    },
    Command{
        .family = "text",
        .name = "line-breaks",
        .summary = "convert line breaks into PC format (CR LF)",
        .group = std::nullopt,
        .fileChoiceTitle = "Select Text Files",
        .fileFilter = filter::kText,
        .heading = "Converting line breaks into PC format...\n\n",
        .outputExtension = "",
        .exportBinding = TextEngineExport{funciTextReadWriteParser, kLineBreaksToPc},
        .kind = ReportKind::Changes,
        .conversionFlag = true,
    },
    Command{
        .family = "markup",
        .name = "ventura4",
        .summary = "mark up Ventura 4 tagged text as RTF with protected tags",
        .group = FormatGroup::Ventura,
        .fileChoiceTitle = "Select Ventura Files",
        .fileFilter = filter::kText,
        .heading = "Marking up Ventura 4 tags...\n\n",
        .outputExtension = ".rtf",
        .exportBinding = InputOnlyExport{f_iVentura4toRTF},
        .kind = ReportKind::Tags,
        .conversionFlag = false,
        .writtenExtension = ".RTF",
        .menuPath = "Ve&ntura/Version &4/&Mark Up Tags...",
        .statusTip = "Marks up the tags of Ventura 4 tagged text files as protected RTF.",
    },
    // Ventura 5 mark-up belongs to no format group: it leaves the report and
    // the last group as they are.
    Command{
        .family = "markup",
        .name = "ventura",
        .summary = "mark up Ventura 5 (and later) tagged text as RTF with protected tags",
        .group = std::nullopt,
        .fileChoiceTitle = "Select Ventura Files",
        .fileFilter = filter::kText,
        .heading = "Marking up Ventura 5 tags...\n\n",
        .outputExtension = ".rtf",
        .exportBinding = InputOnlyExport{f_iVentura567toRTF},
        .kind = ReportKind::Tags,
        .conversionFlag = false,
        .writtenExtension = ".RTF",
        .menuPath = "Ve&ntura/Version &5 Or Later/&Mark Up Tags...",
        .statusTip =
            "Marks up the tags of Ventura 5 (and later) tagged text files as protected RTF.",
    },
    Command{
        .family = "markup",
        .name = "pagemaker",
        .summary = "mark up PageMaker tagged text as RTF with protected tags",
        .group = FormatGroup::PageMaker,
        .fileChoiceTitle = "Select PageMaker Files",
        .fileFilter = filter::kText,
        .heading = "Marking up PageMaker tags...\n\n",
        .outputExtension = ".rtf",
        .exportBinding = InputOnlyExport{f_iPageMaker2RTF},
        .kind = ReportKind::Tags,
        .conversionFlag = false,
        .writtenExtension = ".RTF",
        .menuPath = "&PageMaker/&Mark Up Tags...",
        .statusTip = "Marks up the tags of PageMaker tagged text files as protected RTF.",
    },
    Command{
        .family = "markup",
        .name = "quark",
        .summary = "mark up QuarkXPress tags as RTF with protected tags",
        .group = FormatGroup::QuarkXPress,
        .fileChoiceTitle = "Select QuarkXPress Files",
        .fileFilter = filter::kQuarkXPress,
        .heading = "Marking up QuarkXPress tags...\n\n",
        .outputExtension = ".rtf",
        .exportBinding = InputOnlyExport{f_iXPress2RTF},
        .kind = ReportKind::Tags,
        .conversionFlag = false,
        .writtenExtension = ".RTF",
        .menuPath = "&QuarkXPress/&Mark Up Tags...",
        .statusTip = "Marks up the tags of QuarkXPress tag files as protected RTF.",
    },
    Command{
        .family = "markup",
        .name = "html",
        .summary = "mark up HTML tags as protected RTF runs",
        .group = FormatGroup::Html,
        .fileChoiceTitle = "Select HTML Files",
        .fileFilter = filter::kHtml,
        .heading = "Marking up HTML tags...\n\n",
        .outputExtension = ".rtf",
        .exportBinding = TagFileExport{f_iHTML2RTF},
        .kind = ReportKind::Changes,
        .conversionFlag = false,
        .tagFile = TagFileRole::Optional,
        .menuPath = "H&TML/&Mark Up Tags...",
        .statusTip = "Marks up the tags of HTML files as protected RTF.",
    },
    // SGML: the tags of a file set are collected into a tag file, which the
    // user edits down to the external tags and marks up with.
    Command{
        .family = "markup",
        .name = "sgml",
        .summary = "mark up SGML: tags of the tag file external, all others internal",
        .group = FormatGroup::Html,
        .fileChoiceTitle = "Select SGML Files",
        .fileFilter = filter::kSgml,
        .heading = "Marking up SGML tags...\n\n",
        .outputExtension = ".rtf",
        .exportBinding = TagFileExport{f_iSGML2RTF},
        .kind = ReportKind::Changes,
        .conversionFlag = false,
        .tagFile = TagFileRole::Required,
    },
    Command{
        .family = "sgml",
        .name = "collect-tags",
        .summary = "add the distinct tags of SGML files to a tag file",
        .group = FormatGroup::Html,
        .fileChoiceTitle = "Select SGML Files",
        .fileFilter = filter::kSgml,
        .heading = "Collecting SGML tags...\n\n",
        .outputExtension = "",
        .exportBinding = TagFileExport{f_iAddUniqueSGMLTagsToFile},
        .kind = ReportKind::NewTags,
        .conversionFlag = false,
        .tagFile = TagFileRole::Collected,
    },
    Command{
        .family = "sgml",
        .name = "extract",
        .summary = "write the tags of each line of SGML files, one per line, to .xsg",
        .group = FormatGroup::Html,
        .fileChoiceTitle = "Select SGML Files",
        .fileFilter = filter::kSgml,
        .heading = "Extracting SGML tags...\n\n",
        .outputExtension = ".xsg",
        .exportBinding = SgmlJobExport{funciSGMLTextReadWrite, kExtractSgmlTags},
        .kind = ReportKind::ExtractedTags,
        .conversionFlag = false,
    },
    // RTF back to tagged text: the translated RTF is written as the source
    // format again, next to the input with the format's extension.
    Command{
        .family = "back",
        .name = "html-multilingual",
        .summary = "RTF back to HTML in a chosen code page with its META charset",
        .group = FormatGroup::Html,
        .fileChoiceTitle = "Select HTML RTF Files",
        .fileFilter = filter::kRtf,
        .heading = "Converting RTF to HTML...\n\n",
        .outputExtension = ".htm",
        .exportBinding = MultiLingualExport{f_iRTF2HTMLMultiLingualWithCharSet},
        .kind = ReportKind::Changes,
        .conversionFlag = true,
        .menuPath = "H&TML/RTF -> Text (Multi&Lingual)...",
        .statusTip = "Converts RTF to HTML for any language.",
    },
    Command{
        .family = "back",
        .name = "html",
        .summary = "RTF back to HTML, characters from 0x80 up as named entities",
        .group = FormatGroup::Html,
        .fileChoiceTitle = "Select HTML RTF Files",
        .fileFilter = filter::kRtf,
        .heading = "Converting RTF to HTML...\n\n",
        .outputExtension = ".htm",
        .exportBinding = ExtensionExport{f_iRTF2HTML},
        .kind = ReportKind::Changes,
        .conversionFlag = true,
        .menuPath = "H&TML/&RTF -> Text...",
        .statusTip = "Converts translated RTF back to HTML with named character entities.",
    },
    Command{
        .family = "back",
        .name = "html-compatible",
        .summary = "RTF back to compatible HTML (plain punctuation, basic entities)",
        .group = FormatGroup::Html,
        .fileChoiceTitle = "Select HTML RTF Files",
        .fileFilter = filter::kRtf,
        .heading = "Converting RTF to HTML...\n\n",
        .outputExtension = ".htm",
        .exportBinding = ExtensionExport{f_iRTF2CompatibleHTML},
        .kind = ReportKind::Changes,
        .conversionFlag = true,
        .menuPath = "H&TML/RTF -> Text (&Compatible)...",
        .statusTip =
            "Converts translated RTF back to compatible HTML: plain punctuation, basic entities.",
    },
    Command{
        .family = "back",
        .name = "pagemaker",
        .summary = "RTF back to PageMaker tagged text (Macintosh files stay Macintosh)",
        .group = FormatGroup::PageMaker,
        .fileChoiceTitle = "Select PageMaker RTF Files",
        .fileFilter = filter::kRtf,
        .heading = "Converting RTF to PageMaker text...\n\n",
        .outputExtension = ".txt",
        .exportBinding = ExtensionExport{f_iRTF2PageMaker},
        .kind = ReportKind::Changes,
        .conversionFlag = true,
        .menuPath = "&PageMaker/&RTF -> Text...",
        .statusTip = "Converts translated RTF back to PageMaker tagged text.",
    },
    Command{
        .family = "back",
        .name = "quark",
        .summary = "RTF back to QuarkXPress tags (Macintosh files stay Macintosh)",
        .group = FormatGroup::QuarkXPress,
        .fileChoiceTitle = "Select QuarkXPress RTF Files",
        .fileFilter = filter::kRtf,
        .heading = "Converting RTF to Quark XPress text...\n\n",
        .outputExtension = ".xtg",
        .exportBinding = ExtensionExport{f_iRTF2XPress},
        .kind = ReportKind::Changes,
        .conversionFlag = true,
        .menuPath = "&QuarkXPress/&RTF -> Text...",
        .statusTip = "Converts translated RTF back to QuarkXPress tags.",
    },
    Command{
        .family = "back",
        .name = "sgml",
        .summary = "RTF back to SGML, characters from 0x80 up as named entities",
        .group = FormatGroup::Html,
        .fileChoiceTitle = "Select SGML RTF Files",
        .fileFilter = filter::kRtf,
        .heading = "Converting RTF to SGML...\n\n",
        .outputExtension = ".sgm",
        .exportBinding = ExtensionExport{f_iRTF2SGML},
        .kind = ReportKind::Changes,
        .conversionFlag = true,
    },
    Command{
        .family = "back",
        .name = "text",
        .summary = "RTF back to Ventura 5 (and later) text; empty paragraphs left out",
        .group = FormatGroup::Ventura,
        .fileChoiceTitle = "Select Ventura RTF Files",
        .fileFilter = filter::kRtf,
        .heading = "Converting RTF to Ventura 5 text...\n\n",
        .outputExtension = ".txt",
        .exportBinding = ExtensionExport{f_iRTF2Text},
        .kind = ReportKind::Changes,
        .conversionFlag = true,
        .menuPath = "Ve&ntura/Version &5 Or Later/&RTF -> Text...",
        .statusTip = "Converts translated RTF back to Ventura 5 (and later) text.",
    },
    Command{
        .family = "back",
        .name = "ventura4",
        .summary = "RTF back to Ventura 4 tagged text",
        .group = FormatGroup::Ventura,
        .fileChoiceTitle = "Select Ventura RTF Files",
        .fileFilter = filter::kRtf,
        .heading = "Converting RTF to Ventura 4 text...\n\n",
        .outputExtension = ".txt",
        .exportBinding = ExtensionExport{f_iVentura4RTF2Text},
        .kind = ReportKind::Changes,
        .conversionFlag = true,
        .menuPath = "Ve&ntura/Version &4/&RTF -> Text...",
        .statusTip = "Converts translated RTF back to Ventura 4 tagged text.",
    },
    // XLIFF: the text of each format that marks up, for translation tools,
    // and the translated XLIFF merged back into the format.
    Command{
        .family = "extract",
        .name = "html",
        .summary = "extract the text of HTML files as XLIFF for translation tools",
        .group = FormatGroup::Html,
        .fileChoiceTitle = "Select HTML Files",
        .fileFilter = filter::kHtml,
        .heading = "Extracting HTML text to XLIFF...\n\n",
        .outputExtension = ".xlf",
        .exportBinding = XliffJobExport{extractXliff, "html"},
        .kind = ReportKind::Units,
        .conversionFlag = false,
        .tagFile = TagFileRole::Optional,
        .menuPath = "H&TML/E&xtract to XLIFF...",
        .statusTip = "Extracts the text of HTML files as XLIFF for translation tools.",
    },
    Command{
        .family = "extract",
        .name = "sgml",
        .summary = "extract the text of SGML files (tags of the tag file external) as XLIFF for "
                   "translation tools",
        .group = FormatGroup::Html,
        .fileChoiceTitle = "Select SGML Files",
        .fileFilter = filter::kSgml,
        .heading = "Extracting SGML text to XLIFF...\n\n",
        .outputExtension = ".xlf",
        .exportBinding = XliffJobExport{extractXliff, "sgml"},
        .kind = ReportKind::Units,
        .conversionFlag = false,
        .tagFile = TagFileRole::Required,
    },
    Command{
        .family = "extract",
        .name = "pagemaker",
        .summary = "extract the text of PageMaker tagged text as XLIFF for translation tools",
        .group = FormatGroup::PageMaker,
        .fileChoiceTitle = "Select PageMaker Files",
        .fileFilter = filter::kText,
        .heading = "Extracting PageMaker text to XLIFF...\n\n",
        .outputExtension = ".xlf",
        .exportBinding = XliffJobExport{extractXliff, "pagemaker"},
        .kind = ReportKind::Units,
        .conversionFlag = false,
        .tagFile = TagFileRole::None,
        .menuPath = "&PageMaker/E&xtract to XLIFF...",
        .statusTip =
            "Extracts the text of PageMaker tagged text files as XLIFF for translation tools.",
    },
    Command{
        .family = "extract",
        .name = "quark",
        .summary = "extract the text of QuarkXPress tag files as XLIFF for translation tools",
        .group = FormatGroup::QuarkXPress,
        .fileChoiceTitle = "Select QuarkXPress Files",
        .fileFilter = filter::kQuarkXPress,
        .heading = "Extracting QuarkXPress text to XLIFF...\n\n",
        .outputExtension = ".xlf",
        .exportBinding = XliffJobExport{extractXliff, "quark"},
        .kind = ReportKind::Units,
        .conversionFlag = false,
        .tagFile = TagFileRole::None,
        .menuPath = "&QuarkXPress/E&xtract to XLIFF...",
        .statusTip = "Extracts the text of QuarkXPress tag files as XLIFF for translation tools.",
    },
    Command{
        .family = "extract",
        .name = "ventura4",
        .summary = "extract the text of Ventura 4 tagged text as XLIFF for translation tools",
        .group = FormatGroup::Ventura,
        .fileChoiceTitle = "Select Ventura 4 Files",
        .fileFilter = filter::kText,
        .heading = "Extracting Ventura 4 text to XLIFF...\n\n",
        .outputExtension = ".xlf",
        .exportBinding = XliffJobExport{extractXliff, "ventura4"},
        .kind = ReportKind::Units,
        .conversionFlag = false,
        .tagFile = TagFileRole::None,
        .menuPath = "Ve&ntura/Version &4/E&xtract to XLIFF...",
        .statusTip =
            "Extracts the text of Ventura 4 tagged text files as XLIFF for translation tools.",
    },
    Command{
        .family = "extract",
        .name = "ventura",
        .summary =
            "extract the text of Ventura 5 (and later) tagged text as XLIFF for translation tools",
        .group = std::nullopt,
        .fileChoiceTitle = "Select Ventura 5 Files",
        .fileFilter = filter::kText,
        .heading = "Extracting Ventura 5 text to XLIFF...\n\n",
        .outputExtension = ".xlf",
        .exportBinding = XliffJobExport{extractXliff, "ventura"},
        .kind = ReportKind::Units,
        .conversionFlag = false,
        .tagFile = TagFileRole::None,
        .menuPath = "Ve&ntura/Version &5 Or Later/E&xtract to XLIFF...",
        .statusTip = "Extracts the text of Ventura 5 (and later) tagged text files as XLIFF for "
                     "translation tools.",
    },
    Command{
        .family = "merge",
        .name = "html",
        .summary = "merge translated XLIFF back into HTML files",
        .group = FormatGroup::Html,
        .fileChoiceTitle = "Select XLIFF Files",
        .fileFilter = filter::kXliff,
        .heading = "Merging XLIFF into HTML files...\n\n",
        .outputExtension = ".htm",
        .exportBinding = XliffJobExport{mergeXliff, "html"},
        .kind = ReportKind::MergedUnits,
        .conversionFlag = false,
        .tagFile = TagFileRole::Optional,
        .menuPath = "H&TML/Mer&ge XLIFF...",
        .statusTip =
            "Merges translated XLIFF files back into the HTML files they were extracted from.",
    },
    Command{
        .family = "merge",
        .name = "sgml",
        .summary = "merge translated XLIFF back into SGML files (tags of the tag file external)",
        .group = FormatGroup::Html,
        .fileChoiceTitle = "Select XLIFF Files",
        .fileFilter = filter::kXliff,
        .heading = "Merging XLIFF into SGML files...\n\n",
        .outputExtension = ".sgm",
        .exportBinding = XliffJobExport{mergeXliff, "sgml"},
        .kind = ReportKind::MergedUnits,
        .conversionFlag = false,
        .tagFile = TagFileRole::Required,
    },
    Command{
        .family = "merge",
        .name = "pagemaker",
        .summary = "merge translated XLIFF back into PageMaker tagged text",
        .group = FormatGroup::PageMaker,
        .fileChoiceTitle = "Select XLIFF Files",
        .fileFilter = filter::kXliff,
        .heading = "Merging XLIFF into PageMaker files...\n\n",
        .outputExtension = ".txt",
        .exportBinding = XliffJobExport{mergeXliff, "pagemaker"},
        .kind = ReportKind::MergedUnits,
        .conversionFlag = false,
        .tagFile = TagFileRole::None,
        .menuPath = "&PageMaker/Mer&ge XLIFF...",
        .statusTip = "Merges translated XLIFF files back into the PageMaker tagged text files they "
                     "were extracted from.",
    },
    Command{
        .family = "merge",
        .name = "quark",
        .summary = "merge translated XLIFF back into QuarkXPress tag files",
        .group = FormatGroup::QuarkXPress,
        .fileChoiceTitle = "Select XLIFF Files",
        .fileFilter = filter::kXliff,
        .heading = "Merging XLIFF into QuarkXPress files...\n\n",
        .outputExtension = ".xtg",
        .exportBinding = XliffJobExport{mergeXliff, "quark"},
        .kind = ReportKind::MergedUnits,
        .conversionFlag = false,
        .tagFile = TagFileRole::None,
        .menuPath = "&QuarkXPress/Mer&ge XLIFF...",
        .statusTip = "Merges translated XLIFF files back into the QuarkXPress tag files they were "
                     "extracted from.",
    },
    Command{
        .family = "merge",
        .name = "ventura4",
        .summary = "merge translated XLIFF back into Ventura 4 tagged text",
        .group = FormatGroup::Ventura,
        .fileChoiceTitle = "Select XLIFF Files",
        .fileFilter = filter::kXliff,
        .heading = "Merging XLIFF into Ventura 4 files...\n\n",
        .outputExtension = ".txt",
        .exportBinding = XliffJobExport{mergeXliff, "ventura4"},
        .kind = ReportKind::MergedUnits,
        .conversionFlag = false,
        .tagFile = TagFileRole::None,
        .menuPath = "Ve&ntura/Version &4/Mer&ge XLIFF...",
        .statusTip = "Merges translated XLIFF files back into the Ventura 4 tagged text files they "
                     "were extracted from.",
    },
    Command{
        .family = "merge",
        .name = "ventura",
        .summary = "merge translated XLIFF back into Ventura 5 (and later) tagged text",
        .group = std::nullopt,
        .fileChoiceTitle = "Select XLIFF Files",
        .fileFilter = filter::kXliff,
        .heading = "Merging XLIFF into Ventura 5 files...\n\n",
        .outputExtension = ".txt",
        .exportBinding = XliffJobExport{mergeXliff, "ventura"},
        .kind = ReportKind::MergedUnits,
        .conversionFlag = false,
        .tagFile = TagFileRole::None,
        .menuPath = "Ve&ntura/Version &5 Or Later/Mer&ge XLIFF...",
        .statusTip = "Merges translated XLIFF files back into the Ventura 5 (and later) tagged "
                     "text files they were extracted from.",
    },
};

}  // namespace

std::span<const Command> commandTable() {
    return kCommands;
}

const Command* findCommand(std::string_view family, std::string_view name) {
    for (const Command& command : kCommands) {
        if (command.family == family && command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

bool takesTagFile(const Command& command) {
    if (std::holds_alternative<XliffJobExport>(command.exportBinding)) {
        return command.tagFile != TagFileRole::None;
    }
    return std::holds_alternative<TagFileExport>(command.exportBinding);
}

std::vector<std::string> filterPatterns(std::string_view filter) {
    std::size_t start = filter.find('|');
    if (start == std::string_view::npos) return {};
    std::string_view patterns = filter.substr(start + 1);
    patterns = patterns.substr(0, patterns.find('|'));
    std::vector<std::string> result;
    while (!patterns.empty()) {
        std::size_t end = patterns.find(';');
        std::string_view pattern = patterns.substr(0, end);
        if (!pattern.empty()) result.emplace_back(pattern);
        if (end == std::string_view::npos) break;
        patterns.remove_prefix(end + 1);
    }
    return result;
}

bool takesCodePage(const Command& command) {
    return std::holds_alternative<MultiLingualExport>(command.exportBinding);
}

}  // namespace tessel::app
