#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/fault_seam.h"
#include "platform/paths.h"

namespace tessel::platform {

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

std::optional<FileIdentity> fileIdentity(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino),
                        static_cast<std::uint64_t>(info.st_size)};
}

std::optional<std::string> findFileAnyExtensionCase(const std::string& path) {
    if (fileExists(path)) return path;
    PathParts parts = splitPath(path);
    std::string folder = parts.drive + parts.directory;
    std::string listed = folder.empty() ? std::string(".") : folder;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(listed.c_str()), ::closedir);
    if (!dir) return std::nullopt;
    std::string wantedStem = parts.baseName;
    while (dirent* entry = ::readdir(dir.get())) {
        PathParts candidate = splitPath(entry->d_name);
        if (candidate.baseName == wantedStem &&
            sameNameIgnoringCase(candidate.extension, parts.extension)) {
            return folder + entry->d_name;
        }
    }
    return std::nullopt;
}

bool outputExists(const std::string& path) {
    return findFileAnyExtensionCase(path).has_value();
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

namespace {

// Permission bits of `path`, or those a new file gets under the umask.
mode_t permissionsFor(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) return info.st_mode & 07777;
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

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
    // The rewritten file keeps the permissions of the one it replaces.
    struct stat old {};
    if (::stat(to.c_str(), &old) == 0) ::chmod(from.c_str(), old.st_mode & 07777);
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool createParentDirectories(const std::string& path) {
    PathParts parts = splitPath(path);
    std::string folder = parts.drive + parts.directory;
    if (folder.empty()) return true;
    std::string partial;
    for (std::size_t i = 0; i < folder.size(); ++i) {
        char c = folder[i];
        partial += isSeparator(c) ? '/' : c;
        bool atSeparator = isSeparator(c) || i + 1 == folder.size();
        if (!atSeparator || partial == "/") continue;
        if (isDirectory(partial)) continue;
        if (::mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
    return isDirectory(partial);
}

}  // namespace tessel::platform
