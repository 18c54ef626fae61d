// File operations on Windows, through the system's own file API. Names are
// the 8-bit names of the active ANSI code page, as the library's callers pass
// them; each goes to the API's wide entry points through wideName, which also
// reaches names longer than the ANSI entry points take. A failure leaves its
// cause in errno, as the POSIX calls do.
#ifdef _WIN32

#include <io.h>

#include <algorithm>
#include <atomic>

#include "platform/fault_seam.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/safe_files.h"
#include "platform/windows_api.h"
#include "platform/windows_names.h"

namespace tessel::platform {

namespace {

DWORD attributesOf(const std::string& path) {
    DWORD attributes = ::GetFileAttributesW(wideName(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) setErrnoFromWindowsError(::GetLastError());
    return attributes;
}

// The Windows error of a call that failed, also left in errno.
DWORD lastError() {
    DWORD error = ::GetLastError();
    setErrnoFromWindowsError(error);
    return error;
}

// 100-nanosecond ticks between 1601 (FILETIME) and 1970.
constexpr std::uint64_t kTicksTo1970 = 116444736000000000ULL;

FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    FileIdentity identity;
    identity.device = info.dwVolumeSerialNumber;
    identity.inode = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    identity.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    std::uint64_t ticks = (std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                          info.ftLastWriteTime.dwLowDateTime;
    std::int64_t since1970 = static_cast<std::int64_t>(ticks - kTicksTo1970);
    identity.modifiedSeconds = since1970 / 10000000;
    identity.modifiedNanoseconds = since1970 % 10000000 * 100;
    identity.isDirectory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return identity;
}

std::optional<FileIdentity> identityOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (handle == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(handle, &info)) {
        return std::nullopt;
    }
    return identityOf(info);
}

bool deleteFile(const std::string& path) {
    if (::DeleteFileW(wideName(path).c_str())) return true;
    lastError();
    return false;
}

bool isMissingError(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Calls `take` with each name a search pattern finds ("." and ".." left out).
template <typename Take>
void forEachFound(const std::string& pattern, Take take) {
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW(wideName(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        lastError();
        return;
    }
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") take(narrowName(name));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

}  // namespace

bool fileExists(const std::string& path) {
    return attributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool isDirectory(const std::string& path) {
    DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool isRegularFile(const std::string& path) {
    DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

bool nameExists(const std::string& path) {
    return fileExists(path);
}

std::optional<FileIdentity> fileIdentity(const std::string& path) {
    // Backup semantics open folders too; no access right is needed to read
    // the attributes.
    HANDLE handle = ::CreateFileW(wideName(path).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        lastError();
        return std::nullopt;
    }
    std::optional<FileIdentity> identity = identityOfHandle(handle);
    ::CloseHandle(handle);
    return identity;
}

std::optional<FileIdentity> openFileIdentity(std::FILE* file) {
    if (file == nullptr) return std::nullopt;
    return identityOfHandle(reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file))));
}

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::string pattern = folder;
    if (!pattern.empty() && !isSeparator(pattern.back())) pattern += '\\';
    pattern += '*';
    forEachFound(pattern, [&](std::string name) { names.push_back(std::move(name)); });
    return names;
}

std::vector<std::string> filesMatching(const std::string& pattern) {
    std::vector<std::string> matches;
    PathParts parts = splitPath(pattern);
    std::string folder = parts.drive + parts.directory;
    forEachFound(pattern, [&](const std::string& name) { matches.push_back(folder + name); });
    std::sort(matches.begin(), matches.end());
    return matches;
}

bool removeFile(const std::string& path) {
    if (faultStrikes(FileOperation::Remove, path)) return false;
    return deleteFile(path);
}

bool removeIfPresent(const std::string& path) {
    if (faultStrikes(FileOperation::Remove, path)) return false;
    return deleteFile(path) || isMissingError(::GetLastError());
}

bool removeIfEmpty(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(wideName(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
        data.nFileSizeHigh != 0 || data.nFileSizeLow != 0) {
        return false;
    }
    if (faultStrikes(FileOperation::Remove, path)) return false;
    return deleteFile(path);
}

RenameResult renameFile(const std::string& from, const std::string& to) {
    if (outputExists(to)) return RenameResult::TargetExists;
    if (faultStrikes(FileOperation::Rename, from)) return RenameResult::Failed;
    // Without MOVEFILE_REPLACE_EXISTING the move never replaces a target.
    if (::MoveFileExW(wideName(from).c_str(), wideName(to).c_str(), 0)) return RenameResult::Ok;
    DWORD error = lastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
        return RenameResult::TargetExists;
    }
    return RenameResult::Failed;
}

std::string createUniqueFileBeside(const std::string& path) {
    if (faultStrikes(FileOperation::Open, path)) return {};
    // A new file gets the folder's inherited access rights; Windows keeps no
    // permission bits to copy.
    static std::atomic<unsigned> counter{0};
    unsigned seed = ::GetCurrentProcessId() * 2654435761U ^ ::GetTickCount();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%06X", (seed + ++counter) & 0xFFFFFFU);
        std::string name = path + suffix;
        HANDLE handle = ::CreateFileW(wideName(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle);
            return name;
        }
        DWORD error = lastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return {};
    }
    return {};
}

bool replaceFile(const std::string& from, const std::string& to) {
    if (faultStrikes(FileOperation::Rename, from)) return false;
    if (int problem = unusableFinalName(to); problem != 0) {
        errno = problem;
        return false;
    }
    if (::MoveFileExW(wideName(from).c_str(), wideName(to).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    lastError();
    return false;
}

bool createFolder(const std::string& path) {
    return ::CreateDirectoryW(wideName(path).c_str(), nullptr) != 0 ||
           lastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace tessel::platform

#endif  // _WIN32
