// Layout of the help texts: lines of at most 79 columns, wrapped at blanks,
// and two-column tables of names and descriptions.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessel::cli {

// `text` wrapped at blanks for a line whose first part already takes
// `startColumn` columns; the lines after the first are indented by `indent`.
std::string wrapText(std::string_view text, std::size_t startColumn, std::size_t indent);

using HelpRow = std::pair<std::string_view, std::string_view>;

// Names, then their descriptions two blanks after the longest name.
void printHelpTable(std::ostream& out, const std::vector<HelpRow>& rows);

}  // namespace tessel::cli
