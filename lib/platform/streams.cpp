#include "platform/streams.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <vector>

#include "platform/byte_scan.h"
#include "platform/fault_seam.h"
#include "platform/files.h"
#ifdef _WIN32
#include "platform/windows_api.h"
#include "platform/windows_names.h"
#endif

namespace tessel::platform {

namespace {

#ifdef _WIN32

// Opens a regular file for reading; a device name ("CON", "NUL") or a pipe is
// refused, as reading it could wait forever or never end.
std::FILE* openRegularFile(const std::string& path) {
    if (faultStrikes(FileOperation::Open, path) || !isRegularFile(path)) return nullptr;
    std::FILE* file = ::_wfopen(wideName(path).c_str(), L"rb");
    if (file == nullptr) return nullptr;
    HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

#else

// Opens a regular file for reading. The open itself does not wait (a FIFO
// without a writer would block it); anything but a regular file is refused.
std::FILE* openRegularFile(const std::string& path) {
    if (faultStrikes(FileOperation::Open, path)) return nullptr;
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info {};
    int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) ::close(fd);
    return file;
}

#endif

}  // namespace

bool InputStream::open(const std::string& path, StreamMode mode, bool stopAtCtrlZ) {
    close();
    std::FILE* file = openRegularFile(path);
    if (file == nullptr) return false;
    std::setvbuf(file, nullptr, _IONBF, 0);
    file_ = file;
    mode_ = mode;
    stopAtCtrlZ_ = stopAtCtrlZ;
    ended_ = false;
    error_ = false;
    pushedBack_ = -1;
    pos_ = end_ = 0;
    return true;
}

bool InputStream::close() {
    if (file_ == nullptr) return true;
    bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
}

bool InputStream::fill() {
    pos_ = 0;
    end_ = readFile(buffer_, kStreamBufferSize);
    return end_ != 0;
}

std::size_t InputStream::readFile(char* out, std::size_t n) {
    if (ended_ || file_ == nullptr) return 0;
    std::size_t got = std::fread(out, 1, n, file_);
    if (got == 0) {
        if (std::ferror(file_)) error_ = true;
        ended_ = true;
    }
    return got;
}

int InputStream::get() {
    if (pushedBack_ >= 0) {
        int c = pushedBack_;
        pushedBack_ = -1;
        return c;
    }
    if (pos_ == end_ && !fill()) return -1;
    auto c = static_cast<unsigned char>(buffer_[pos_++]);
    if (mode_ == StreamMode::Binary) return c;
    if (c == 0x1A && stopAtCtrlZ_) {
        ended_ = true;
        pos_ = end_ = 0;
        return -1;
    }
    if (c == '\r') {
        if (pos_ == end_ && !fill()) return '\r';
        if (buffer_[pos_] == '\n') {
            ++pos_;
            return '\n';
        }
    }
    return c;
}

void InputStream::unget(int c) {
    if (c >= 0) pushedBack_ = c;
}

std::size_t InputStream::read(char* out, std::size_t n) {
    std::size_t count = 0;
    if (mode_ == StreamMode::Binary && pushedBack_ < 0) {
        // Fast path: copy whole spans of the buffer. A large request finding
        // the buffer empty is read straight into `out`, not copied twice.
        while (count < n) {
            if (pos_ == end_ && n - count >= kDirectReadSize) {
                std::size_t got = readFile(out + count, n - count);
                if (got == 0) break;
                count += got;
                continue;
            }
            if (pos_ == end_ && !fill()) break;
            std::size_t take = std::min(n - count, end_ - pos_);
            std::memcpy(out + count, buffer_ + pos_, take);
            pos_ += take;
            count += take;
        }
        return count;
    }
    while (count < n) {
        // Text mode: plain bytes and CR LF pairs are copied in bulk; a lone
        // CR, a pair cut by the range, and Ctrl-Z where it ends the data go
        // through get().
        if (pushedBack_ < 0 && mode_ == StreamMode::Text && pos_ != end_) {
            const Copied copied = copyTranslated(out + count, std::min(end_, pos_ + (n - count)));
            pos_ += copied.read;
            count += copied.written;
            if (count == n) break;
        }
        int c = get();
        if (c < 0) break;
        out[count++] = static_cast<char>(c);
    }
    return count;
}

InputStream::Copied InputStream::copyTranslated(char* out, std::size_t to) const {
    using namespace detail;
    // Lines end at a CR every few dozen bytes, where a search and a copy
    // call each cost more than the bytes: whole chunks are copied and tested
    // in one step, the bytes past a stop being written over later (a chunk
    // is stored only where `out` has room for all of it, and `out` is never
    // ahead of the bytes read). A CR LF inside the range is written as its
    // LF and the copy goes on.
    const auto* data = reinterpret_cast<const std::uint8_t*>(buffer_);
    const std::uint8_t endOfData = stopAtCtrlZ_ ? 0x1A : '\r';
    std::size_t at = pos_;
    std::size_t written = 0;
    for (;;) {
        bool stopped = false;
        for (; to - at >= kChunkSize; at += kChunkSize, written += kChunkSize) {
            const Chunk chunk = loadChunk(data + at);
            storeChunk(out + written, chunk);
            const ChunkMask stops = bytesEqual(chunk, '\r') | bytesEqual(chunk, endOfData);
            if (stops != 0) {
                at += firstMarked(stops);
                written += firstMarked(stops);
                stopped = true;
                break;
            }
        }
        for (; !stopped && at < to; ++at, ++written) {
            if (data[at] == '\r' || data[at] == endOfData) break;
            out[written] = buffer_[at];
        }
        if (at + 1 >= to || data[at] != '\r' || data[at + 1] != '\n') break;
        out[written++] = '\n';
        at += 2;
    }
    return {at - pos_, written};
}

std::size_t InputStream::plainBytesAhead(std::size_t limit) const {
    std::size_t stop = std::min(end_ - pos_, limit);
    if (mode_ == StreamMode::Binary) return stop;
    // A run shorter than a chunk (a tag of a replace piece) is tested as one
    // chunk of the buffer where it holds one, rather than byte by byte; a
    // line end found past the run leaves it whole.
    std::size_t scan = std::max(stop, std::min(end_ - pos_, detail::kChunkSize));
    return std::min(stop, findLineEnd(buffer_ + pos_, scan, stopAtCtrlZ_));
}

std::size_t InputStream::lineFeedAt(std::size_t at) const {
    if (at >= end_) return 0;
    if (buffer_[at] == '\n') return 1;
    const bool pair = mode_ == StreamMode::Text && buffer_[at] == '\r' && at + 1 < end_ &&
                      buffer_[at + 1] == '\n';
    return pair ? 2 : 0;
}

std::size_t InputStream::appendRun(std::string& out, std::size_t limit, bool* tookLineFeed) {
    if (pushedBack_ >= 0 || limit == 0) return 0;
    if (pos_ == end_ && !fill()) return 0;
    std::size_t count = plainBytesAhead(limit);
    const std::size_t lineEnd =
        tookLineFeed != nullptr && count < limit ? lineFeedAt(pos_ + count) : 0;
    if (lineEnd == 0) {
        out.append(buffer_ + pos_, count);
        pos_ += count;
        return count;
    }
    // The line end is appended as one line feed, written over its first byte
    // (the carriage return of a pair).
    out.append(buffer_ + pos_, count + 1);
    out.back() = '\n';
    pos_ += count + lineEnd;
    *tookLineFeed = true;
    return count;
}

std::size_t InputStream::appendBufferedLines(std::string& out, std::size_t lines) {
    if (pushedBack_ >= 0 || mode_ != StreamMode::Text) return 0;
    std::size_t appended = 0;
    for (; appended < lines; ++appended) {
        const std::size_t at = pos_ + findLineEnd(buffer_ + pos_, end_ - pos_, stopAtCtrlZ_);
        const std::size_t lineEnd = lineFeedAt(at);
        if (lineEnd == 0) break;
        out.append(buffer_ + pos_, at - pos_);
        out += '\n';
        pos_ = at + lineEnd;
    }
    return appended;
}

std::optional<std::string_view> InputStream::takeBufferedPlain(std::size_t count) {
    if (pushedBack_ >= 0 || end_ - pos_ < count || plainBytesAhead(count) != count) {
        return std::nullopt;
    }
    std::string_view run(buffer_ + pos_, count);
    pos_ += count;
    return run;
}

bool InputStream::atEnd() {
    if (pushedBack_ >= 0) return false;
    int c = get();
    if (c < 0) return true;
    unget(c);
    return false;
}

bool OutputStream::open(const std::string& path, StreamMode mode, ExistingName existing) {
    close();
    if (faultStrikes(FileOperation::Open, path)) return false;
    if (int problem = unusableFinalName(path); problem != 0) {
        errno = problem;
        return false;
    }
    removeStaleTemporaries(path);
    std::string temporary;
    std::FILE* file = createLockedTemporary(path, temporary);
    if (file == nullptr) return false;
    writeAllowance_ = writeAllowance(path);
    std::setvbuf(file, nullptr, _IONBF, 0);
    if (std::optional<FileIdentity> identity = openFileIdentity(file)) {
        device_ = identity->device;
        inode_ = identity->inode;
    }
    file_ = file;
    temporary_ = std::move(temporary);
    finalPath_ = path;
    existing_ = existing;
    keepFailedWrites_ = true;
    // Replacing a file keeps who may read it, as writing into it did.
    attributesFrom_.clear();
    if (existing == ExistingName::Replace && isRegularFile(path)) attributesFrom_ = path;
    mode_ = mode;
    error_ = false;
    writeErrno_ = 0;
    pos_ = 0;
    bytesWritten_ = 0;
    return true;
}

void OutputStream::flush() {
    // Writing to a stream that is not open loses the bytes and says so.
    if (pos_ != 0) {
        std::size_t allowed = pos_;
        if (writeAllowance_ - bytesWritten_ < allowed) {
            allowed = static_cast<std::size_t>(writeAllowance_ - bytesWritten_);
        }
        errno = 0;
        std::size_t written = file_ == nullptr ? 0 : std::fwrite(buffer_, 1, allowed, file_);
        bytesWritten_ += written;
        if (written != pos_) {
            if (!error_) writeErrno_ = errno != 0 ? errno : ENOSPC;
            error_ = true;
        }
    }
    pos_ = 0;
}

bool OutputStream::isSameFile(const std::string& path) const {
    std::optional<FileIdentity> identity = fileIdentity(path);
    return identity && identity->device == device_ && identity->inode == inode_;
}

bool OutputStream::wroteCompletely(const std::string& path) const {
    if (error_) return false;
    std::optional<FileIdentity> identity = fileIdentity(path);
    return identity && identity->device == device_ && identity->inode == inode_ &&
           identity->size == bytesWritten_;
}

bool OutputStream::close() {
    if (file_ == nullptr) return true;
    flush();
    std::FILE* file = file_;
    file_ = nullptr;
    // The temporary stays registered until it is renamed or removed: an
    // interrupt at any moment before takes it away.
    if (error_ && !keepFailedWrites_) {
        abandonTemporary(file, temporary_);
        unregisterTemporary(temporary_);
        errno = writeErrno_;
        return false;
    }
    if (!attributesFrom_.empty()) copyAttributes(attributesFrom_, file);
    bool committed = finishTemporary(file, temporary_, finalPath_, existing_);
    int error = errno;
    unregisterTemporary(temporary_);
    // A file whose writes failed (a full disk) is put in place all the same:
    // its job sees the failure, then removes it or keeps the log's part as
    // it always has. Only an interrupted run leaves it under the temporary.
    if (error_) {
        errno = writeErrno_;
        return false;
    }
    errno = error;
    return committed;
}

void OutputStream::discard() {
    if (file_ == nullptr) return;
    std::FILE* file = file_;
    file_ = nullptr;
    pos_ = 0;
    abandonTemporary(file, temporary_);
    unregisterTemporary(temporary_);
}

void OutputStream::put(char c) {
    if (c == '\n' && mode_ == StreamMode::Text) putRaw('\r');
    putRaw(c);
}

void OutputStream::writeUntranslated(std::string_view bytes) {
    while (!bytes.empty()) {
        if (pos_ == kStreamBufferSize) flush();
        std::size_t take = std::min(bytes.size(), kStreamBufferSize - pos_);
        std::memcpy(buffer_ + pos_, bytes.data(), take);
        pos_ += take;
        bytes.remove_prefix(take);
    }
}

void OutputStream::write(std::string_view text) {
    if (mode_ == StreamMode::Binary) return writeUntranslated(text);
    while (!text.empty()) {
        std::size_t lf = text.find('\n');
        writeUntranslated(text.substr(0, lf));
        if (lf == std::string_view::npos) break;
        putRaw('\r');
        putRaw('\n');
        text.remove_prefix(lf + 1);
    }
}

void OutputStream::printf(const char* format, ...) {
    char small[512];
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (needed < 0) {
        va_end(copy);
        error_ = true;
        return;
    }
    if (static_cast<std::size_t>(needed) < sizeof small) {
        write(std::string_view(small, static_cast<std::size_t>(needed)));
    } else {
        std::vector<char> big(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(big.data(), big.size(), format, copy);
        write(std::string_view(big.data(), static_cast<std::size_t>(needed)));
    }
    va_end(copy);
}

}  // namespace tessel::platform
