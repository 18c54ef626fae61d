// Safe writes on Windows: CREATE_NEW with no sharing (an open temporary can
// be neither opened nor deleted by another process, which is its lock),
// LockFileEx on lock files, a console handler for Ctrl-C and Ctrl-Break.
#ifdef _WIN32

#include <fcntl.h>
#include <io.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/device_names.h"
#include "platform/safe_files.h"
#include "platform/safe_files_system.h"
#include "platform/windows_api.h"
#include "platform/windows_names.h"

namespace tessel::platform {

namespace {

std::string uniquePart() {
    static std::atomic<unsigned> counter{0};
    unsigned seed = ::GetCurrentProcessId() * 2654435761U ^ ::GetTickCount();
    unsigned value = seed + counter.fetch_add(1) * 40503U;
    char unique[8];
    std::snprintf(unique, sizeof unique, "%06X", value & 0xFFFFFFU);
    return unique;
}

bool failWith(DWORD error) {
    setErrnoFromWindowsError(error);
    return false;
}

BOOL WINAPI onConsoleBreak(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
        return FALSE;
    }
    removeRegisteredTemporaries();
    ::ExitProcess(event == CTRL_C_EVENT ? 130 : 143);
    return TRUE;
}

}  // namespace

int unusableFinalName(const std::string& path) {
    // "aux.rtf" is the AUX device in every folder, whether or not the file
    // system answers for it.
    if (isWindowsDeviceName(path)) return EINVAL;
    DWORD attributes = ::GetFileAttributesW(wideName(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return ELOOP;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EISDIR;
    if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return EINVAL;
    return 0;
}

std::FILE* createLockedTemporary(const std::string& finalPath, std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = temporaryNameFor(finalPath, uniquePart());
        HANDLE handle = ::CreateFileW(wideName(candidate).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            DWORD error = ::GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
            failWith(error);
            return nullptr;
        }
        int fd = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_BINARY);
        std::FILE* file = fd < 0 ? nullptr : ::_fdopen(fd, "wb");
        if (file == nullptr) {
            if (fd < 0)
                ::CloseHandle(handle);
            else
                ::_close(fd);
            ::DeleteFileW(wideName(candidate).c_str());
            errno = ENOMEM;
            return nullptr;
        }
        name = std::move(candidate);
        // Registered as it is made, for the console handler.
        registerTemporary(name);
        return file;
    }
    errno = EEXIST;
    return nullptr;
}

bool syncToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
    HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
    return ::FlushFileBuffers(handle) != 0 || failWith(::GetLastError());
}

bool copyAttributes(const std::string&, std::FILE*) {
    // A new file inherits the folder's access rights; Windows keeps no
    // permission bits or owner that a rewrite would lose.
    return true;
}

bool finishTemporary(std::FILE* file, const std::string& temporary, const std::string& finalPath,
                     ExistingName existing) {
    bool ok = syncToDisk(file);
    int error = errno;
    // The handle shares nothing, so it goes before the move.
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok) {
        if (int problem = unusableFinalName(finalPath); problem != 0) {
            ok = false;
            error = problem;
        } else {
            DWORD flags = MOVEFILE_WRITE_THROUGH;
            if (existing == ExistingName::Replace) flags |= MOVEFILE_REPLACE_EXISTING;
            ok =
                ::MoveFileExW(wideName(temporary).c_str(), wideName(finalPath).c_str(), flags) != 0;
            if (!ok) {
                setErrnoFromWindowsError(::GetLastError());
                error = errno;
            }
        }
    }
    if (!ok) ::DeleteFileW(wideName(temporary).c_str());
    errno = error;
    return ok;
}

void abandonTemporary(std::FILE* file, const std::string& temporary) {
    int error = errno;
    std::fclose(file);
    ::DeleteFileW(wideName(temporary).c_str());
    errno = error;
}

bool removeIfStale(const std::string& name) {
    // The writer's handle shares nothing: a temporary that can be deleted
    // is held by no one.
    return ::DeleteFileW(wideName(name).c_str()) != 0;
}

void installInterruptHandlers() {
    static std::atomic<bool> installed{false};
    if (installed.exchange(true)) return;
    ::SetConsoleCtrlHandler(onConsoleBreak, TRUE);
}

void removeNameFromHandler(const char* name) {
    ::DeleteFileW(wideName(name).c_str());
}

std::string lockFolder() {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) return {};
    std::filesystem::path folder = base / "tessel-locks";
    std::filesystem::create_directory(folder, error);
    if (!std::filesystem::is_directory(folder, error)) return {};
    return narrowName(folder.wstring());
}

std::intptr_t lockName(const std::string& folder, const std::string& key) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (unsigned char c : key) hash = (hash ^ c) * 1099511628211ULL;
    char file[32];
    std::snprintf(file, sizeof file, "\\%016llx.lock", static_cast<unsigned long long>(hash));
    HANDLE handle = ::CreateFileW(wideName(folder + file).c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return -1;
    OVERLAPPED whole{};
    if (!::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole)) {
        ::CloseHandle(handle);
        return -1;
    }
    return reinterpret_cast<std::intptr_t>(handle);
}

void unlockName(std::intptr_t handle) {
    ::CloseHandle(reinterpret_cast<HANDLE>(handle));
}

}  // namespace tessel::platform

#endif  // _WIN32
