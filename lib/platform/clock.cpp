#include "platform/clock.h"

#include <ctime>

namespace tessel::platform {

std::string localTimeFormatted(const char* format) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    if (::localtime_s(&local, &now) != 0) return {};
#else
    if (::localtime_r(&now, &local) == nullptr) return {};
#endif
    char text[128];
    std::size_t n = std::strftime(text, sizeof text, format, &local);
    return std::string(text, n);
}

std::string localTime24() {
    return localTimeFormatted("%a %b %d %H:%M:%S %Y");
}

}  // namespace tessel::platform
