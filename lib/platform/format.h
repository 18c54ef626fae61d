// printf-style formatting into a std::string, for the library's own text
// tables (message catalogue, log lines). Formats are never taken from input.
#pragma once

#include <string>

namespace tessel::platform {

std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tessel::platform
