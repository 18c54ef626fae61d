// The running program's path on POSIX systems: the link the kernel keeps
// for it (Linux's /proc).
#ifndef _WIN32

#include <system_error>

#include "platform/program_path.h"

namespace tessel::platform {

std::filesystem::path runningProgramPath() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
}

}  // namespace tessel::platform

#endif
