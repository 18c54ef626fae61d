#include "platform/clock.h"

#include <ctime>

namespace tessel::platform {

std::string localTimeFormatted(const char* format) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[128];
    std::size_t n = std::strftime(text, sizeof text, format, &local);
    return std::string(text, n);
}

std::string localTime24() {
    return localTimeFormatted("%a %b %d %H:%M:%S %Y");
}

}  // namespace tessel::platform
