// Safe writes on POSIX systems: exclusive creates that never follow a link,
// flock(2) on temporaries and lock files, signal handlers that clear the
// temporaries of an interrupted run.
#ifndef _WIN32

#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/xattr.h>
#endif

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <system_error>
#include <vector>

#include "platform/safe_files.h"
#include "platform/safe_files_system.h"

namespace tessel::platform {

namespace {

int lockWaiting(int fd, int operation) {
    int result;
    do {
        result = ::flock(fd, operation);
    } while (result != 0 && errno == EINTR);
    return result;
}

// Six letters and digits, different in every process and call.
std::string uniquePart() {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::atomic<unsigned> counter{0};
    thread_local std::mt19937 generator(std::random_device{}() ^
                                        static_cast<unsigned>(::getpid()) * 2654435761U);
    std::uniform_int_distribution<unsigned> pick(0, sizeof kAlphabet - 2);
    generator.discard(counter.fetch_add(1) % 7);
    std::string unique;
    for (int i = 0; i < 6; ++i) unique += kAlphabet[pick(generator)];
    return unique;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Renames without replacing: renameat2 where the file system has it, link
// and unlink where not; both fail with EEXIST on any entry under `to`.
bool renameNoReplace(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) return false;
#endif
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    ::unlink(from.c_str());
    return true;
}

void copyExtendedAttributes([[maybe_unused]] const std::string& from, [[maybe_unused]] int to) {
#ifdef __linux__
    ssize_t listSize = ::listxattr(from.c_str(), nullptr, 0);
    if (listSize <= 0) return;
    std::vector<char> names(static_cast<std::size_t>(listSize));
    listSize = ::listxattr(from.c_str(), names.data(), names.size());
    if (listSize <= 0) return;
    std::vector<char> value;
    for (std::size_t at = 0; at < static_cast<std::size_t>(listSize);) {
        const char* name = names.data() + at;
        at += std::char_traits<char>::length(name) + 1;
        ssize_t size = ::getxattr(from.c_str(), name, nullptr, 0);
        if (size < 0) continue;
        value.resize(static_cast<std::size_t>(size));
        size = ::getxattr(from.c_str(), name, value.data(), value.size());
        // An attribute the runner may not set (another user's security
        // label) stays behind; the content and the mode matter more.
        if (size < 0 ||
            ::fsetxattr(to, name, value.data(), static_cast<std::size_t>(size), 0) != 0) {
            continue;
        }
    }
#endif
}

struct sigaction previousInterrupt {};
struct sigaction previousTerminate {};

void chain(const struct sigaction& previous, int signal) {
    if ((previous.sa_flags & SA_SIGINFO) != 0 && previous.sa_sigaction != nullptr) {
        previous.sa_sigaction(signal, nullptr, nullptr);
    } else if ((previous.sa_flags & SA_SIGINFO) == 0 && previous.sa_handler != SIG_DFL &&
               previous.sa_handler != SIG_IGN && previous.sa_handler != nullptr) {
        previous.sa_handler(signal);
    }
}

void onInterrupt(int signal) {
    removeRegisteredTemporaries();
    // A handler installed before this one (another copy of these files, a
    // host's own) gets its turn; the process then ends as a shell reports an
    // interrupted command.
    chain(signal == SIGINT ? previousInterrupt : previousTerminate, signal);
    ::_exit(128 + signal);
}

void installFor(int signal, struct sigaction& previous) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) != 0) return;
    // A program that ignores the signal (run under nohup) keeps doing so.
    if ((current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == SIG_IGN) return;
    struct sigaction handler {};
    handler.sa_handler = onInterrupt;
    sigemptyset(&handler.sa_mask);
    sigaddset(&handler.sa_mask, SIGINT);
    sigaddset(&handler.sa_mask, SIGTERM);
    ::sigaction(signal, &handler, &previous);
}

}  // namespace

int unusableFinalName(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return 0;
    if (S_ISREG(info.st_mode)) return 0;
    if (S_ISLNK(info.st_mode)) return ELOOP;
    if (S_ISDIR(info.st_mode)) return EISDIR;
    return EINVAL;
}

namespace {

// Interrupts wait while a temporary is created and registered: one that
// came between the two would leave the new file behind.
class InterruptsHeld {
  public:
    InterruptsHeld() {
        sigset_t held;
        sigemptyset(&held);
        sigaddset(&held, SIGINT);
        sigaddset(&held, SIGTERM);
        ::pthread_sigmask(SIG_BLOCK, &held, &previous_);
    }
    ~InterruptsHeld() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    InterruptsHeld(const InterruptsHeld&) = delete;
    InterruptsHeld& operator=(const InterruptsHeld&) = delete;

  private:
    sigset_t previous_{};
};

std::FILE* createUnregisteredTemporary(const std::string& finalPath, std::string& name);

}  // namespace

// The temporary is registered for the interrupt handlers as it is made.
std::FILE* createLockedTemporary(const std::string& finalPath, std::string& name) {
    InterruptsHeld held;
    std::FILE* file = createUnregisteredTemporary(finalPath, name);
    if (file != nullptr) registerTemporary(name);
    return file;
}

namespace {

std::FILE* createUnregisteredTemporary(const std::string& finalPath, std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = temporaryNameFor(finalPath, uniquePart());
        int fd =
            ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return nullptr;
        }
        // Locked before it counts as ours: a run that found it unlocked in
        // the moment between create and lock took it for stale and removed
        // it, which the check of the name below sees.
        struct stat opened {};
        struct stat named {};
        if (lockWaiting(fd, LOCK_EX) != 0 || ::fstat(fd, &opened) != 0 ||
            ::lstat(candidate.c_str(), &named) != 0 || !sameFile(opened, named)) {
            ::close(fd);
            continue;
        }
        std::FILE* file = ::fdopen(fd, "wb");
        if (file == nullptr) {
            int error = errno;
            ::unlink(candidate.c_str());
            ::close(fd);
            errno = error;
            return nullptr;
        }
        name = std::move(candidate);
        return file;
    }
    errno = EEXIST;
    return nullptr;
}

}  // namespace

bool syncToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
    // File systems that cannot sync (some FUSE and network mounts) say so
    // with EINVAL; their data is as safe as the system makes it.
    return ::fsync(::fileno(file)) == 0 || errno == EINVAL || errno == EROFS;
}

bool copyAttributes(const std::string& from, std::FILE* to) {
    struct stat info {};
    if (::stat(from.c_str(), &info) != 0) return false;
    int fd = ::fileno(to);
    // The owner first: a change of owner clears the set-user-ID bits the
    // mode then gives back. Only root may give a file away; others keep it.
    if (info.st_uid != ::geteuid() || info.st_gid != ::getegid()) {
        if (::fchown(fd, info.st_uid, info.st_gid) != 0 &&
            ::fchown(fd, static_cast<uid_t>(-1), info.st_gid) != 0) {
            // Neither the owner nor the group may be given: the runner's stay.
        }
    }
    copyExtendedAttributes(from, fd);
    return ::fchmod(fd, info.st_mode & 07777) == 0;
}

bool finishTemporary(std::FILE* file, const std::string& temporary, const std::string& finalPath,
                     ExistingName existing) {
    bool ok = syncToDisk(file);
    int error = errno;
    if (ok && existing == ExistingName::Replace) {
        // A link, FIFO or folder under the name is refused, not replaced.
        if (int problem = unusableFinalName(finalPath); problem != 0) {
            ok = false;
            error = problem;
        } else {
            ok = ::rename(temporary.c_str(), finalPath.c_str()) == 0;
            error = errno;
        }
    } else if (ok) {
        ok = renameNoReplace(temporary, finalPath);
        error = errno;
    }
    // Renamed while still locked: no run takes a temporary for stale
    // between the last write and the rename.
    if (!ok) ::unlink(temporary.c_str());
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    errno = error;
    return ok;
}

void abandonTemporary(std::FILE* file, const std::string& temporary) {
    int error = errno;
    ::unlink(temporary.c_str());
    std::fclose(file);
    errno = error;
}

bool removeIfStale(const std::string& name) {
    int fd = ::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat opened {};
    struct stat named {};
    bool stale = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
                 ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(name.c_str(), &named) == 0 &&
                 sameFile(opened, named) && ::unlink(name.c_str()) == 0;
    ::close(fd);
    return stale;
}

void installInterruptHandlers() {
    static std::atomic<bool> installed{false};
    if (installed.exchange(true)) return;
    installFor(SIGINT, previousInterrupt);
    installFor(SIGTERM, previousTerminate);
}

void removeNameFromHandler(const char* name) {
    ::unlink(name);
}

std::string lockFolder() {
    std::error_code error;
    std::filesystem::path base;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime) {
        base = runtime;
    } else {
        base = std::filesystem::temp_directory_path(error);
        if (error) base = "/tmp";
    }
    std::string folder = (base / ("tessel-locks-" + std::to_string(::geteuid()))).string();
    ::mkdir(folder.c_str(), 0700);
    // Only a folder of the user's own that nobody else may write is used: a
    // folder planted in a shared /tmp could otherwise hold links.
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::geteuid() || (info.st_mode & 022) != 0) {
        return {};
    }
    return folder;
}

std::intptr_t lockName(const std::string& folder, const std::string& key) {
    // FNV-1a: a short, stable file name for a name of any length.
    std::uint64_t hash = 14695981039346656037ULL;
    for (unsigned char c : key) hash = (hash ^ c) * 1099511628211ULL;
    char file[32];
    std::snprintf(file, sizeof file, "/%016llx.lock", static_cast<unsigned long long>(hash));
    int fd = ::open((folder + file).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (lockWaiting(fd, LOCK_EX) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void unlockName(std::intptr_t handle) {
    ::close(static_cast<int>(handle));
}

}  // namespace tessel::platform

#endif  // !_WIN32
