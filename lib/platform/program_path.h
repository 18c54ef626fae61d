// Where the running program lies, so that a program finds the files
// installed beside it (in the build tree and in an installed tree alike).
#pragma once

#include <filesystem>

namespace tessel::platform {

// The full name of the running program's executable; empty when the system
// does not tell it.
std::filesystem::path runningProgramPath();

}  // namespace tessel::platform
