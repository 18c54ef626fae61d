#include "platform/binary_file.h"

#include "platform/files.h"
#ifdef _WIN32
#include "platform/windows_names.h"
#endif

namespace tessel::platform {

bool BinaryFile::openForUpdate(const std::string& path) {
    close();
#ifdef _WIN32
    std::FILE* file = ::_wfopen(wideName(path).c_str(), L"r+b");
#else
    std::FILE* file = std::fopen(path.c_str(), "r+b");
#endif
    if (file == nullptr) return false;
    std::optional<FileIdentity> identity = openFileIdentity(file);
    if (!identity || identity->isDirectory || !isRegularFile(path)) {
        std::fclose(file);
        return false;
    }
    file_ = file;
    error_ = false;
    return true;
}

bool BinaryFile::seek(std::uint64_t offset) {
#ifdef _WIN32
    return file_ != nullptr && ::_fseeki64(file_, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
    return file_ != nullptr && ::fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

std::optional<std::uint64_t> BinaryFile::size() {
    if (file_ == nullptr) return std::nullopt;
    if (std::fflush(file_) != 0) return std::nullopt;
    std::optional<FileIdentity> identity = openFileIdentity(file_);
    if (!identity) return std::nullopt;
    return identity->size;
}

std::optional<std::string> BinaryFile::readAt(std::uint64_t offset, std::size_t count) {
    if (!seek(offset)) return std::nullopt;
    std::string bytes(count, '\0');
    std::size_t got = std::fread(bytes.data(), 1, count, file_);
    if (got < count && std::ferror(file_)) return std::nullopt;
    bytes.resize(got);
    return bytes;
}

bool BinaryFile::writeAt(std::uint64_t offset, std::string_view bytes) {
    // A read must be followed by a seek before the stream may write.
    if (!seek(offset) || std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        error_ = true;
        return false;
    }
    return true;
}

bool BinaryFile::close() {
    if (file_ == nullptr) return !error_;
    bool ok = std::fclose(file_) == 0 && !error_;
    file_ = nullptr;
    error_ = false;
    return ok;
}

}  // namespace tessel::platform
