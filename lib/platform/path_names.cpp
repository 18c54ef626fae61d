#include "platform/path_names.h"

#ifdef _WIN32
#include "platform/windows_names.h"
#endif

namespace tessel::platform {

std::string nameOf(const std::filesystem::path& path) {
#ifdef _WIN32
    return narrowName(path.wstring());
#else
    return path.string();
#endif
}

std::filesystem::path pathOf(const std::string& name) {
#ifdef _WIN32
    return std::filesystem::path(widened(name));
#else
    return std::filesystem::path(name);
#endif
}

}  // namespace tessel::platform
