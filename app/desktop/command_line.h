// The desktop program's own command-line options, answered before any Qt
// application object exists: --help and --version print to standard output,
// an unknown "--" option is a usage error. Everything else (the documents
// to open, Qt's own options such as -style or --platform) is left for Qt and
// the main frame, so this needs no display.
#pragma once

#include <optional>
#include <ostream>

namespace tessel::desktop {

constexpr int kCommandLineUsageError = 2;

// The exit status when the command line is answered without starting the
// program (0 after --help or --version, 2 after an unknown option), else
// nothing. The first of --help, --version or an unknown option decides.
std::optional<int> answerCommandLine(int argc, const char* const* argv, std::ostream& out,
                                     std::ostream& err);

}  // namespace tessel::desktop
