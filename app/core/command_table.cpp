#include "core/command_table.h"

#include <array>

#include "tessel_cat.h"

namespace tessel::app {

namespace filter {
const std::string_view kText = "Text Files|*.txt|All Files (*.*)|*.*||";
const std::string_view kRtf = "RTF Files|*.rtf|All Files (*.*)|*.*||";
const std::string_view kQuarkXPress = "QuarkXPress Tag Files|*.xtg|All Files (*.*)|*.*||";
const std::string_view kHtml = "HTML Files|*.htm*|All Files (*.*)|*.*||";
}  // namespace filter

namespace {

// Function codes of the line engine.
constexpr int kMacintoshToAnsi = 610;
constexpr int kAnsiToMacintosh = 611;
constexpr int kLineBreaksToPc = 613;

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
};

}  // namespace

std::span<const Command> commandTable() {
    return kCommands;
}

const Command* findCommand(std::string_view family, std::string_view name) {
    for (const Command& command : kCommands) {
        if (command.family == family && command.name == name) return &command;
    }
    return nullptr;
}

}  // namespace tessel::app
