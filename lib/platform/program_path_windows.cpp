// The running program's path on Windows, from the module of its executable.
#ifdef _WIN32

#include <string>

#include "platform/program_path.h"
#include "platform/windows_api.h"

namespace tessel::platform {

std::filesystem::path runningProgramPath() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return {};
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name);
        }
        name.resize(name.size() * 2);  // cut off: try with more room
    }
}

}  // namespace tessel::platform

#endif
