// The translation check and the round trip as entries of the desktop's
// format menus, as data: one row per entry with its menu path, status-bar
// text, file choices, heading and format group. The menus add these rows
// after the conversion commands of the same menu.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "core/command_table.h"

namespace tessel::app {

enum class CheckKind {
    Verify,     // translated RTF against the RTF the mark-up wrote
    RoundTrip,  // source files marked up and converted back untranslated
};

struct CheckCommand {
    CheckKind kind;
    // Verify: the back-conversion the translations go through (a --target
    // of "tessel verify"); round trip: the format (a --format of "tessel
    // roundtrip").
    std::string_view format;
    // Follows the conversion commands of the same menu: another group
    // clears the log first.
    std::optional<FormatGroup> group;
    // Verify: the originals; round trip: the source files.
    std::string_view fileChoiceTitle;
    std::string_view fileFilter;
    // Verify: the translations (RTF files as well).
    std::string_view translationChoiceTitle = {};
    std::string_view heading;
    std::string_view menuPath;
    std::string_view statusTip;
};

std::span<const CheckCommand> checkTable();

// False when the check does not know the row's format (a round trip of a
// format no round-trip rule set exists for yet): the entry is greyed out.
bool checkAvailable(const CheckCommand& check);

// The status-bar text of the entry; for an unavailable one, why.
std::string_view checkStatusTip(const CheckCommand& check);

}  // namespace tessel::app
