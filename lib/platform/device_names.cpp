#include "platform/device_names.h"

#include <array>

namespace tessel::platform {

namespace {

constexpr std::array<std::string_view, 6> kPlainDevices = {"CON", "PRN",    "AUX",
                                                           "NUL", "CONIN$", "CONOUT$"};
// The numbered ports take a digit, or the superscript one, two or three of
// Windows 1252 (bytes B9, B2, B3), which Windows matches as well.
constexpr std::array<std::string_view, 2> kNumberedDevices = {"COM", "LPT"};

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalsIgnoringCase(std::string_view text, std::string_view upperCase) {
    if (text.size() != upperCase.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (upper(text[i]) != upperCase[i]) return false;
    }
    return true;
}

bool isPortNumber(char c) {
    return (c >= '0' && c <= '9') || c == '\xB9' || c == '\xB2' || c == '\xB3';
}

// The name as Windows compares it with the devices: up to the first "." and
// without the blanks before it.
std::string_view stem(std::string_view path) {
    std::size_t slash = path.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    // "C:nul" is the device too.
    if (name.size() >= 2 && name[1] == ':' && slash == std::string_view::npos)
        name.remove_prefix(2);
    name = name.substr(0, name.find('.'));
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    return name;
}

}  // namespace

bool isWindowsDeviceName(std::string_view path) {
    std::string_view name = stem(path);
    for (std::string_view device : kPlainDevices) {
        if (equalsIgnoringCase(name, device)) return true;
    }
    if (name.size() != 4 || !isPortNumber(name[3])) return false;
    for (std::string_view device : kNumberedDevices) {
        if (equalsIgnoringCase(name.substr(0, 3), device)) return true;
    }
    return false;
}

}  // namespace tessel::platform
