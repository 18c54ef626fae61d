// printf-style formatting into a std::string, for the library's own text
// tables (message catalogue, log lines). Formats are never taken from input.
#pragma once

#include <string>

namespace tessel::platform {

std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tessel::platform

#include <initializer_list>
#include <string_view>

namespace tessel::platform {

// Replaces each "%d" and "%s" of `format`, in order, by the next argument as
// it stands. Unlike printf, arguments may hold any byte, zero included, so
// quoted input text is never cut short. Unmatched placeholders stay empty.
std::string fillPlaceholders(std::string_view format, std::initializer_list<std::string_view> args);

}  // namespace tessel::platform
