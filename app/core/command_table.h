// The conversion commands as data: one row per command with everything the
// workflow and the shells need. A new library export becomes a new command by
// adding one row to the table in command_table.cpp.
//
// The desktop program builds its format menus from the rows with a menu path,
// in table order: a menu or sub-menu appears where its first row stands, and
// its entries follow in the order of their rows.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/export_binding.h"

namespace tessel::app {

// Selects the per-file report wording.
enum class ReportKind {
    Changes,        // a change count; 0 reads "File converted OK." or "No changes made!"
    Tags,           // a count of tags marked up, -1/-2 for parse/output failures
    NewTags,        // SGML tag collection: how many tags were new to the tag file
    ExtractedTags,  // SGML tag extraction: how many tags were written
    Units,          // XLIFF extraction: how many translation units were written
    MergedUnits,    // XLIFF merge: how many units had a target
};

// What a command does with a tag file (the --tag-file of the tool).
enum class TagFileRole {
    None,
    Optional,   // HTML tag definition file: used when given
    Required,   // SGML external tag file: its tags become external runs
    Collected,  // SGML tag collection: the tags are added to it (it may not
                // exist yet); it is the command's output
};

// Commands of one format share the report window; another group clears it.
enum class FormatGroup { Html = 0, Ventura = 1, QuarkXPress = 2, PageMaker = 3 };

struct Command {
    std::string_view family;           // command-line family: "text", "markup", "back", "sgml"
    std::string_view name;             // command-line name within the family
    std::string_view summary;          // one line for help texts
    std::optional<FormatGroup> group;  // none: leaves the report as it is
    std::string_view fileChoiceTitle;
    std::string_view fileFilter;
    std::string_view heading;
    // Extension of the output; empty for jobs that convert the file in place.
    std::string_view outputExtension;
    ExportBinding exportBinding;
    ReportKind kind;
    bool conversionFlag;  // changes kind: a result of 0 reads "File converted OK."
    // The extension exactly as the library writes it when it differs in case
    // from outputExtension (the converters write "NAME.RTF"); only a file of
    // exactly that name is ever replaced.
    std::string_view writtenExtension = {};
    TagFileRole tagFile = TagFileRole::None;
    // Desktop menu entry: menu titles and the entry, separated by "/", with
    // "&" before the mnemonic letter; empty for commands the desktop does not
    // offer.
    std::string_view menuPath = {};
    // What the desktop's status bar shows for the entry.
    std::string_view statusTip = {};
};

std::span<const Command> commandTable();

// The row of `family` and `name`, or null.
const Command* findCommand(std::string_view family, std::string_view name);

// True for the HTML mark-up, which takes a tag definition file.
bool takesTagFile(const Command& command);

// True for the multilingual HTML back-conversion, which asks for a code page
// and a charset name before its files.
bool takesCodePage(const Command& command);

// The file-name patterns of a filter's first file type: {"*.htm*"} of
// "HTML Files|*.htm*|All Files (*.*)|*.*||" (patterns separated by ";").
std::vector<std::string> filterPatterns(std::string_view filter);

// File-type lists for the file choices.
namespace filter {
extern const std::string_view kText;
extern const std::string_view kRtf;
extern const std::string_view kQuarkXPress;
extern const std::string_view kHtml;
extern const std::string_view kSgml;
extern const std::string_view kXliff;
}  // namespace filter

}  // namespace tessel::app
