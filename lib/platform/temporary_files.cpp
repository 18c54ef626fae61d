#include "platform/temporary_files.h"

#ifdef _WIN32
#include "platform/windows_api.h"
#include "platform/windows_names.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#endif

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/fault_seam.h"

namespace tessel::platform {

// The name has the form Windows' GetTempFileName gives with a number of its
// caller's, formed here: Wine's GetTempFileName writes ".tmp" in lower case,
// which would give the Windows build other names than the Linux one.
std::string temporaryName(std::string_view folder, std::string_view prefix, unsigned number,
                          std::string_view extension) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%X", number);
    std::string name(folder);
    name += prefix;
    name += digits;
    name += extension;
    return name;
}

bool createNewFile(const std::string& path) {
    if (faultStrikes(FileOperation::Open, path)) return false;
#ifdef _WIN32
    HANDLE handle = ::CreateFileW(wideName(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        setErrnoFromWindowsError(::GetLastError());
        return false;
    }
    return ::CloseHandle(handle) != 0;
#else
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0) return false;
    return ::close(fd) == 0;
#endif
}

std::string createScratchFolder(std::string_view prefix) {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
#ifdef _WIN32
    if (error) return {};
    // GetTempFileName reserves a unique name in the temporary folder; the
    // reserved file makes way for a folder of that name.
    std::string shortPrefix(prefix.substr(0, 3));
    char name[MAX_PATH + 1];
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (::GetTempFileNameA(base.string().c_str(), shortPrefix.c_str(), 0, name) == 0) {
            return {};
        }
        if (::DeleteFileA(name) && ::CreateDirectoryA(name, nullptr)) return name;
    }
    return {};
#else
    if (error) base = "/tmp";
    std::string pattern = (base / (std::string(prefix) + "XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) return {};
    return name.data();
#endif
}

}  // namespace tessel::platform
