// Exit statuses of the tessel tool.
#pragma once

namespace tessel::cli {

inline constexpr int kExitSuccess = 0;     // every file converted (result 0 or more)
inline constexpr int kExitFailure = 1;     // at least one file failed or was refused
inline constexpr int kExitUsageError = 2;  // the command line itself was wrong

}  // namespace tessel::cli
