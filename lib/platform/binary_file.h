// A file opened in binary mode for reading and writing in place, with
// positioned reads and writes: for jobs that patch a few bytes of a file they
// made (the end of a working copy, say) without copying it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace tessel::platform {

class BinaryFile {
  public:
    BinaryFile() = default;
    ~BinaryFile() { close(); }
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    // Opens an existing file for reading and writing; false when it cannot
    // be opened (missing, a folder, no rights).
    bool openForUpdate(const std::string& path);
    // Length in bytes, or nothing when it cannot be told.
    std::optional<std::uint64_t> size();
    // Up to `count` bytes from `offset`; nothing on a read error.
    std::optional<std::string> readAt(std::uint64_t offset, std::size_t count);
    // False when not every byte could be written.
    bool writeAt(std::uint64_t offset, std::string_view bytes);
    // Flushes and closes; false when anything could not be written.
    bool close();

  private:
    bool seek(std::uint64_t offset);

    std::FILE* file_ = nullptr;
    bool error_ = false;
};

}  // namespace tessel::platform
