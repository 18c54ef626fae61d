// The texts of the safe file writes: what the user is told about files left
// by an interrupted run.
#pragma once

#include <string_view>

namespace tessel::resources {

// Followed by the temporary's name.
inline constexpr std::string_view kStaleTemporaryRemoved =
    "Removed a temporary file left by an interrupted run: ";

}  // namespace tessel::resources
