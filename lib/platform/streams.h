// Buffered file streams with Windows text-mode semantics on every platform.
//
// Text mode: reading turns CR LF into LF (a lone CR stays), writing turns LF
// into CR LF. Binary mode passes bytes through. Both use a 64 KB buffer (few
// system calls per megabyte).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "platform/safe_files.h"

namespace tessel::platform {

inline constexpr std::size_t kStreamBufferSize = 65536;

enum class StreamMode { Text, Binary };

class InputStream {
  public:
    InputStream() = default;
    ~InputStream() { close(); }
    InputStream(const InputStream&) = delete;
    InputStream& operator=(const InputStream&) = delete;

    // Opens for reading; false when the file cannot be opened or is not a
    // regular file (a folder, FIFO, device or socket).
    // With stopAtCtrlZ a 0x1A byte ends the data, as text-mode reads do where
    // the format asks for it.
    bool open(const std::string& path, StreamMode mode, bool stopAtCtrlZ = false);
    bool isOpen() const { return file_ != nullptr; }
    // Closes; false when closing failed.
    bool close();

    // Next byte (0-255) or -1 at end of data.
    int get();
    // Puts back the last byte read by get(); one byte of push-back.
    void unget(int c);
    // Consumes the next byte when get() would return `c`; true when it did.
    // Without a push-back: the common case needs no call to get().
    bool skipIf(int c) {
        if (pushedBack_ < 0 && pos_ < end_) {
            auto next = static_cast<unsigned char>(buffer_[pos_]);
            bool translated = mode_ == StreamMode::Text && (next == '\r' || next == 0x1A);
            if (!translated) {
                if (next != c) return false;
                ++pos_;
                return true;
            }
        }
        int next = get();
        if (next == c) return true;
        unget(next);
        return false;
    }
    // Reads up to n bytes; returns the count (0 at end of data).
    std::size_t read(char* out, std::size_t n);
    bool atEnd();
    // Appends to `out` the bytes that need no text-mode translation (anything
    // but CR, LF and, when it ends the data, Ctrl-Z), at most `limit`, without
    // consuming the byte it stopped at. Returns the count appended.
    std::size_t appendPlainRun(std::string& out, std::size_t limit) {
        return appendRun(out, limit, nullptr);
    }
    // As appendPlainRun, but a line end that the run stops at within `limit`
    // and that get() would return as a line feed ("\n", or "\r\n" in text
    // mode) is consumed with it and appended as "\n": a line in the buffer
    // is taken in one piece. True when it took one.
    bool appendPlainLine(std::string& out, std::size_t limit) {
        bool tookLineFeed = false;
        appendRun(out, limit, &tookLineFeed);
        return tookLineFeed;
    }
    // Text mode: appends the next lines, at most `lines`, while each lies
    // whole in the buffer and ends with LF or CR LF (appended as LF); stops
    // before a line with anything else that needs translation or ends it (a
    // lone CR, Ctrl-Z where it ends the data). Returns the lines appended.
    std::size_t appendBufferedLines(std::string& out, std::size_t lines);
    // Consumes exactly the next `count` bytes when all of them are in the
    // buffer and none needs translation (as for appendPlainRun), and returns
    // them, valid until the next read; otherwise consumes nothing.
    std::optional<std::string_view> takeBufferedPlain(std::size_t count);
    // The next `count` bytes as the buffer holds them, untranslated and not
    // consumed, when it holds all of them and no byte is pushed back;
    // `readable` is then set to the bytes the buffer holds from there on (at
    // least `count`), for scans that test whole chunks. The bytes are read
    // by skipBuffered(), valid until then.
    std::optional<std::string_view> peekBuffered(std::size_t count, std::size_t& readable) const {
        if (pushedBack_ >= 0 || end_ - pos_ < count) return std::nullopt;
        readable = end_ - pos_;
        return std::string_view(buffer_ + pos_, count);
    }
    void skipBuffered(std::size_t count) { pos_ += count; }
    bool failed() const { return error_; }

  private:
    bool fill();
    // Length in the buffer of the line end at `at` when get() would return
    // it as one line feed and the buffer holds all of it: a line feed, or in
    // text mode a carriage return with one; 0 otherwise.
    std::size_t lineFeedAt(std::size_t at) const;
    // The work of appendPlainRun; with `tookLineFeed`, that of
    // appendPlainLine, which it tells whether the line feed was taken.
    std::size_t appendRun(std::string& out, std::size_t limit, bool* tookLineFeed);
    // Reads up to `n` bytes of the file to `out`; 0 at its end or on an error.
    std::size_t readFile(char* out, std::size_t n);
    // Binary reads of at least this many bytes bypass the buffer when it is
    // empty.
    static constexpr std::size_t kDirectReadSize = 4096;
    // Copies buffer_[pos_, to) to `out` as text mode reads it, up to a byte
    // that get() must take (a CR without its LF before `to`, and Ctrl-Z
    // where it ends the data): each CR LF becomes its LF. `out` has room for
    // to - pos_ bytes.
    struct Copied {
        std::size_t read;     // bytes of the buffer taken
        std::size_t written;  // bytes written to `out`
    };
    Copied copyTranslated(char* out, std::size_t to) const;
    // How many of the next `limit` buffered bytes (at most those in the
    // buffer) need no translation.
    std::size_t plainBytesAhead(std::size_t limit) const;

    std::FILE* file_ = nullptr;
    StreamMode mode_ = StreamMode::Text;
    bool stopAtCtrlZ_ = false;
    bool ended_ = false;
    bool error_ = false;
    int pushedBack_ = -1;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    char buffer_[kStreamBufferSize];
};

class OutputStream {
  public:
    OutputStream() = default;
    ~OutputStream() { close(); }
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;

    // Opens a new temporary beside `path` for the file's content (see
    // platform/safe_files.h); `path` itself is written only by the rename in
    // close(). False (errno set) when no temporary can be made or a link,
    // folder, FIFO or device has the name. With ExistingName::Replace a
    // regular file under the name is replaced and its mode and owner kept;
    // with Refuse the rename fails when any file has taken the name.
    bool open(const std::string& path, StreamMode mode,
              ExistingName existing = ExistingName::Replace);
    bool isOpen() const { return file_ != nullptr; }
    // Flushes, syncs and renames the complete file into place; false (errno
    // set) when anything could not be written or renamed, and then nothing
    // is left of it.
    bool close();
    // Closes without keeping anything: the temporary goes.
    void discard();
    // The file gets the mode, owner and extended attributes of `original`
    // (an in-place job's backup) when it is renamed into place.
    void keepAttributesOf(const std::string& original) { attributesFrom_ = original; }
    // A file whose writes failed is removed by close() instead of being put
    // under its name for the job to remove (as a log that is kept in part).
    void dropOnWriteFailure() { keepFailedWrites_ = false; }
    // Bytes that reached the file, after text-mode line ends.
    std::uint64_t bytesWritten() const { return bytesWritten_; }
    // True when `path` is still the file this stream wrote, complete: the
    // same file (not deleted or replaced meanwhile) with every byte written.
    bool wroteCompletely(const std::string& path) const;
    // True when `path` names the file this stream opened.
    bool isSameFile(const std::string& path) const;

    void write(std::string_view text);
    // Writes `bytes` as they stand, in text mode too: for text whose line
    // ends are already those of the file.
    void writeUntranslated(std::string_view bytes);
    void write(const char* data, std::size_t n) { write(std::string_view(data, n)); }
    void put(char c);
    // printf-style write of a format taken from the library's own text tables.
    void printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    bool failed() const { return error_; }

  private:
    void putRaw(char c) {
        if (pos_ >= kStreamBufferSize) flush();
        buffer_[pos_++] = c;
    }
    void flush();

    std::FILE* file_ = nullptr;
    std::string temporary_;
    std::string finalPath_;
    std::string attributesFrom_;
    ExistingName existing_ = ExistingName::Replace;
    StreamMode mode_ = StreamMode::Text;
    bool error_ = false;
    bool keepFailedWrites_ = true;
    int writeErrno_ = 0;
    std::size_t pos_ = 0;
    std::uint64_t bytesWritten_ = 0;
    std::uint64_t writeAllowance_ = 0;  // bytes that may reach the file
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
    char buffer_[kStreamBufferSize];
};

}  // namespace tessel::platform
