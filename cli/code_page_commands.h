// tessel codepages: the languages of the language dialog with their code
// pages and charset names, and every code page that has a charset name.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessel::cli {

int codePagesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tessel::cli
