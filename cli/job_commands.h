// The conversion families of the tool ("tessel text|markup|sgml|back ..."):
// their subcommands are the rows of the batch core's command table with that
// family; the batch options (-o, -r, -q, --report json) apply to all.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::cli {

// Runs `tessel FAMILY SUBCOMMAND [options] FILE...`; `args` starts with the
// subcommand.
int jobFamilyCommand(std::string_view family, const std::vector<std::string>& args,
                     std::ostream& out, std::ostream& err);

}  // namespace tessel::cli
