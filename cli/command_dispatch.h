// The tool's top-level commands as a table: "tessel NAME ..." runs the row
// named NAME with the arguments after it. Rows for more families or tools
// are added to the table in command_dispatch.cpp.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::cli {

using CommandHandler = int (*)(const std::vector<std::string>& args, std::ostream& out,
                               std::ostream& err);

struct CliCommand {
    std::string_view name;
    std::string_view summary;
    // The conversion families take the global --overwrite option.
    bool takesOverwrite;
    CommandHandler run;
};

std::span<const CliCommand> cliCommands();

// The whole command line without the program name.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tessel::cli
