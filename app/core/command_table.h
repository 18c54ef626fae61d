// The conversion commands as data: one row per command with everything the
// workflow and the shells need. A new library export becomes a new command by
// adding one row to the table in command_table.cpp.
//
// The desktop program builds its format menus from the rows with a menu path,
// in table order: a menu or sub-menu appears where its first row stands, and
// its entries follow in the order of their rows. A row whose export the
// library does not provide yet stays in the table with a PendingExport: the
// desktop shows it greyed out, the command-line tool does not offer it, and
// binding the real export is the only change needed once it exists.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "core/export_binding.h"

namespace tessel::app {

// Selects the per-file report wording.
enum class ReportKind {
    Changes,  // a change count; 0 reads "File converted OK." or "No changes made!"
    Tags,     // a count of tags marked up, -1/-2 for parse/output failures
};

// Commands of one format share the report window; another group clears it.
enum class FormatGroup { Html = 0, Ventura = 1, QuarkXPress = 2, PageMaker = 3 };

struct Command {
    std::string_view family;           // command-line family: "text", "markup", "back"
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
    // Desktop menu entry: menu titles and the entry, separated by "/", with
    // "&" before the mnemonic letter; empty for commands the desktop does not
    // offer.
    std::string_view menuPath = {};
    // What the desktop's status bar shows for the entry.
    std::string_view statusTip = {};
};

std::span<const Command> commandTable();

// The available row of `family` and `name`, or null.
const Command* findCommand(std::string_view family, std::string_view name);

// False while the row's export does not exist in the library.
bool isAvailable(const Command& command);

// The name of the export a pending row waits for; empty for available rows.
std::string_view pendingExportName(const Command& command);

// True for the HTML mark-up, which takes a tag definition file.
bool takesTagFile(const Command& command);

// File-type lists for the file choices.
namespace filter {
extern const std::string_view kText;
extern const std::string_view kRtf;
extern const std::string_view kQuarkXPress;
extern const std::string_view kHtml;
}  // namespace filter

}  // namespace tessel::app
