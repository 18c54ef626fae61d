#include "platform/clock.h"

#include <cstdlib>
#include <ctime>
#include <optional>

namespace tessel::platform {

namespace {

// SOURCE_DATE_EPOCH (seconds since 1970, the reproducible-builds convention)
// fixes the time shown, in UTC, so that two runs on the same input write the
// same bytes on every system.
std::optional<std::time_t> fixedTime() {
    const char* value = std::getenv("SOURCE_DATE_EPOCH");
    if (value == nullptr || *value == '\0') return std::nullopt;
    char* end = nullptr;
    long long seconds = std::strtoll(value, &end, 10);
    if (*end != '\0' || seconds < 0) return std::nullopt;
    return static_cast<std::time_t>(seconds);
}

bool brokenDown(std::time_t time, bool utc, std::tm& out) {
#ifdef _WIN32
    return (utc ? ::gmtime_s(&out, &time) : ::localtime_s(&out, &time)) == 0;
#else
    return (utc ? ::gmtime_r(&time, &out) : ::localtime_r(&time, &out)) != nullptr;
#endif
}

}  // namespace

std::string localTimeFormatted(const char* format) {
    std::optional<std::time_t> fixed = fixedTime();
    std::tm local{};
    if (!brokenDown(fixed.value_or(std::time(nullptr)), fixed.has_value(), local)) return {};
    char text[128];
    std::size_t n = std::strftime(text, sizeof text, format, &local);
    return std::string(text, n);
}

std::string localTime24() {
    return localTimeFormatted("%a %b %d %H:%M:%S %Y");
}

}  // namespace tessel::platform
