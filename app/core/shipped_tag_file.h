// The HTML tag definition file shipped with the programs: the elements that
// HTML5 and the living HTML standard added to HTML 4 (sections, figures,
// media, phrase elements such as MARK and TIME, formulas and drawings),
// block elements external and phrase elements internal as the built-in
// table treats their HTML 4 kin. The tool and the desktop program read it
// for an HTML mark-up when the user names no tag file of their own; the
// library's built-in table stays as it is and is tried after it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/command_table.h"

namespace tessel::app {

inline constexpr std::string_view kShippedTagFileName = "html5-tags.txt";
// The tag file the user names for the built-in table alone.
inline constexpr std::string_view kNoTagFileName = "none";

// The shipped file for a program in `programFolder`: beside it (the build
// tree, and Windows installs) or in the installed data folder next to its
// bin folder; empty when neither holds it.
std::filesystem::path shippedTagFileFor(const std::filesystem::path& programFolder);

// The same for the running program.
std::string shippedTagFile();

// True when the command reads a tag file only when one is named (the HTML
// mark-up), so that the shipped one stands in for none.
bool takesShippedTagFile(const Command& command);

// The tag file such a command reads: the user's, none for "none", else the
// shipped one (empty when it is missing).
std::string tagFileToRead(const std::optional<std::string>& named);

}  // namespace tessel::app
