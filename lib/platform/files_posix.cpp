// File operations on POSIX systems.
#ifndef _WIN32

#include <dirent.h>
#include <fcntl.h>
#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/fault_seam.h"
#include "platform/files.h"
#include "platform/safe_files.h"

namespace tessel::platform {

namespace {

FileIdentity identityOf(const struct stat& info) {
    FileIdentity identity;
    identity.device = static_cast<std::uint64_t>(info.st_dev);
    identity.inode = static_cast<std::uint64_t>(info.st_ino);
    identity.size = static_cast<std::uint64_t>(info.st_size);
    identity.modifiedSeconds = static_cast<std::int64_t>(info.st_mtim.tv_sec);
    identity.modifiedNanoseconds = static_cast<std::int64_t>(info.st_mtim.tv_nsec);
    identity.isDirectory = S_ISDIR(info.st_mode);
    return identity;
}

// Permission bits of `path`, or those a new file gets under the umask.
mode_t permissionsFor(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) return info.st_mode & 07777;
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool fileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool nameExists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::optional<FileIdentity> fileIdentity(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return identityOf(info);
}

std::optional<FileIdentity> openFileIdentity(std::FILE* file) {
    struct stat info {};
    if (file == nullptr || ::fstat(fileno(file), &info) != 0) return std::nullopt;
    return identityOf(info);
}

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return names;
    while (dirent* entry = ::readdir(dir.get())) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(std::move(name));
    }
    return names;
}

std::vector<std::string> filesMatching(const std::string& pattern) {
    std::vector<std::string> matches;
    glob_t found{};
    if (::glob(pattern.c_str(), 0, nullptr, &found) == 0) {
        for (std::size_t i = 0; i < found.gl_pathc; ++i) matches.emplace_back(found.gl_pathv[i]);
    }
    ::globfree(&found);
    return matches;
}

bool removeFile(const std::string& path) {
    if (faultStrikes(FileOperation::Remove, path)) return false;
    return ::unlink(path.c_str()) == 0;
}

bool removeIfPresent(const std::string& path) {
    if (faultStrikes(FileOperation::Remove, path)) return false;
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool removeIfEmpty(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size != 0) {
        return false;
    }
    if (faultStrikes(FileOperation::Remove, path)) return false;
    return ::unlink(path.c_str()) == 0;
}

RenameResult renameFile(const std::string& from, const std::string& to) {
    if (outputExists(to)) return RenameResult::TargetExists;
    if (faultStrikes(FileOperation::Rename, from)) return RenameResult::Failed;
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return RenameResult::Ok;
    }
    if (errno == EEXIST) return RenameResult::TargetExists;
    if (errno != EINVAL && errno != ENOSYS) return RenameResult::Failed;
#endif
    // File systems without no-replace renames: link then unlink never
    // replaces a target either.
    if (::link(from.c_str(), to.c_str()) == 0) {
        if (::unlink(from.c_str()) == 0) return RenameResult::Ok;
        ::unlink(to.c_str());
        return RenameResult::Failed;
    }
    if (errno == EEXIST) return RenameResult::TargetExists;
    return RenameResult::Failed;
}

std::string createUniqueFileBeside(const std::string& path) {
    if (faultStrikes(FileOperation::Open, path)) return {};
    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) return {};
    bool ok = ::fchmod(fd, permissionsFor(path)) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        ::unlink(name.data());
        return {};
    }
    return name.data();
}

bool replaceFile(const std::string& from, const std::string& to) {
    if (faultStrikes(FileOperation::Rename, from)) return false;
    // A link, folder or FIFO under the name is refused, never replaced.
    if (int problem = unusableFinalName(to); problem != 0) {
        errno = problem;
        return false;
    }
    // The rewritten file keeps the mode, owner and extended attributes of
    // the one it replaces.
    if (isRegularFile(to)) {
        if (std::FILE* file = std::fopen(from.c_str(), "rb")) {
            copyAttributes(to, file);
            std::fclose(file);
        }
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool createFolder(const std::string& path) {
    return ::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
}

}  // namespace tessel::platform

#endif  // !_WIN32
