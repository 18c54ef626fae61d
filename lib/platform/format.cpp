#include "platform/format.h"

#include <cstdarg>
#include <cstdio>

namespace tessel::platform {

std::string formatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (needed > 0) {
        text.resize(static_cast<std::size_t>(needed));
        std::vsnprintf(text.data(), text.size() + 1, format, copy);
    }
    va_end(copy);
    return text;
}

}  // namespace tessel::platform
