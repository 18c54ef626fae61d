// Local time in the forms the logs and reports show. SOURCE_DATE_EPOCH, when
// set, fixes it (in UTC) for reproducible runs.
#pragma once

#include <string>

namespace tessel::platform {

// The 24-character form "Wed Jan 02 02:03:55 1980" (day of month with two
// digits), without a line end.
std::string localTime24();

// The local time formatted with strftime.
std::string localTimeFormatted(const char* format);

}  // namespace tessel::platform
