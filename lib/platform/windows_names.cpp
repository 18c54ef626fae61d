#ifdef _WIN32

#include "platform/windows_names.h"

#include <cerrno>

namespace tessel::platform {

namespace {

// CreateDirectory refuses plain names longer than MAX_PATH less room for an
// 8.3 file name; files beside such a folder need the long form as well.
constexpr std::size_t kPlainNameLimit = MAX_PATH - 12;

}  // namespace

std::wstring widened(const std::string& text) {
    if (text.empty()) return {};
    int length =
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                          length);
    return wide;
}

namespace {

// The full name of `name` (drive, folder of the current directory, "." and
// ".." resolved, "/" turned into "\"), as the long form needs it.
std::wstring fullName(const std::wstring& name) {
    DWORD length = ::GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (length == 0) return {};
    std::wstring full(length, L'\0');
    DWORD written = ::GetFullPathNameW(name.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length) return {};
    full.resize(written);
    return full;
}

bool startsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.rfind(prefix, 0) == 0;
}

}  // namespace

std::wstring wideName(const std::string& path) {
    std::wstring wide = widened(path);
    // Short names (device names such as "NUL" among them) stay as they are;
    // names already in a long or device form too.
    if (wide.size() < kPlainNameLimit || startsWith(wide, L"\\\\?\\") ||
        startsWith(wide, L"\\\\.\\")) {
        return wide;
    }
    std::wstring full = fullName(wide);
    if (full.empty() || full.size() < kPlainNameLimit) return full.empty() ? wide : full;
    // "\\server\share\..." becomes "\\?\UNC\server\share\...".
    if (startsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::string narrowName(const std::wstring& name) {
    if (name.empty()) return {};
    int length = ::WideCharToMultiByte(CP_ACP, 0, name.data(), static_cast<int>(name.size()),
                                       nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string narrow(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, name.data(), static_cast<int>(name.size()), narrow.data(),
                          length, nullptr, nullptr);
    return narrow;
}

void setErrnoFromWindowsError(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_INVALID_NAME:
            errno = ENOENT;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            errno = EACCES;
            break;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            errno = EEXIST;
            break;
        case ERROR_FILENAME_EXCED_RANGE:
            errno = ENAMETOOLONG;
            break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            errno = ENOSPC;
            break;
        case ERROR_WRITE_PROTECT:
            errno = EROFS;
            break;
        case ERROR_DIRECTORY:
            errno = ENOTDIR;
            break;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            errno = ENOMEM;
            break;
        default:
            errno = EIO;
            break;
    }
}

}  // namespace tessel::platform

#endif  // _WIN32
