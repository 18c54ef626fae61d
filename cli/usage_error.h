// A wrong command line: one line naming the problem, one naming the help to
// read, and exit status 2.
#pragma once

#include <iosfwd>
#include <string_view>

namespace tessel::cli {

// `command` is what the help is asked of: "tessel", "tessel markup html".
int usageError(std::ostream& err, std::string_view problem, std::string_view command);

}  // namespace tessel::cli
