// Reading the tool's help texts: the names of a table ("Commands:",
// "Subcommands:") and the options of "  -o, --output-dir DIR  ..." lines.
#pragma once

#include <string>
#include <vector>

namespace tessel::cli::testing {

struct HelpOption {
    std::vector<std::string> names;  // "-o", "--output-dir"
    std::string value;               // "DIR"; empty for an option without one
};

// The names of the table that follows the line `heading`.
std::vector<std::string> tableNames(const std::string& help, const std::string& heading);

// The options of the lines that start with two blanks and a "-" ("--", the
// end of the options, is none).
std::vector<HelpOption> optionsIn(const std::string& help);

}  // namespace tessel::cli::testing
