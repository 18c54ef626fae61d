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

namespace tessel::platform {

std::string fillPlaceholders(std::string_view format,
                             std::initializer_list<std::string_view> args) {
    std::string text;
    std::size_t extra = 0;
    for (auto arg : args) extra += arg.size();
    text.reserve(format.size() + extra);
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() &&
            (format[i + 1] == 'd' || format[i + 1] == 's')) {
            if (next != args.end()) text += *next++;
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

}  // namespace tessel::platform
