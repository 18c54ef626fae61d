// Exit statuses of the tessel tool.
#pragma once

namespace tessel::cli {

inline constexpr int kExitSuccess = 0;     // every file converted, no error log kept
inline constexpr int kExitFailure = 1;     // at least one file failed or was refused
inline constexpr int kExitUsageError = 2;  // the command line itself was wrong
inline constexpr int kExitWarnings = 3;    // every output written, but error logs kept

}  // namespace tessel::cli
