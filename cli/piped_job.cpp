#include "piped_job.h"

#include <filesystem>
#include <istream>
#include <ostream>
#include <system_error>
#include <vector>

#include "frame/job_names.h"
#include "platform/files.h"
#include "platform/path_names.h"
#include "platform/streams.h"

namespace tessel::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kFolderPrefix = "tessel-pipe-";
constexpr const char* kCopyName = "stdin";

bool copyFileTo(const fs::path& path, std::ostream& out) {
    platform::InputStream input;
    if (!input.open(platform::nameOf(path), platform::StreamMode::Binary)) return false;
    std::vector<char> buffer(platform::kStreamBufferSize);
    while (std::size_t got = input.read(buffer.data(), buffer.size())) {
        out.write(buffer.data(), static_cast<std::streamsize>(got));
    }
    const bool failed = input.failed();
    return input.close() && !failed;
}

bool isErrorLog(const fs::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string log = std::string(".") + frame::kLogExtension;
    for (char& c : log) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == log;
}

}  // namespace

std::optional<PipedInput> PipedInput::fromStandardInput(std::istream& in,
                                                        const std::string& extension,
                                                        std::string& problem) {
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    if (error) {
        problem = error.message();
        return std::nullopt;
    }
    const std::string folder = platform::createPrivateFolder(platform::nameOf(base), kFolderPrefix);
    if (folder.empty()) {
        problem = std::make_error_code(std::errc::permission_denied).message();
        return std::nullopt;
    }
    PipedInput piped(folder, platform::nameOf(platform::pathOf(folder) / (kCopyName + extension)));
    platform::OutputStream copy;
    if (!copy.open(piped.path_, platform::StreamMode::Binary)) {
        problem = std::make_error_code(std::errc::io_error).message();
        return std::nullopt;
    }
    std::vector<char> buffer(platform::kStreamBufferSize);
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
        copy.write(buffer.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad() || !copy.close() || !copy.wroteCompletely(piped.path_)) {
        problem = std::make_error_code(std::errc::io_error).message();
        return std::nullopt;
    }
    return piped;
}

PipedInput::PipedInput(std::string folder, std::string path)
    : folder_(std::move(folder)), path_(std::move(path)) {}

PipedInput::PipedInput(PipedInput&& other) noexcept
    : folder_(std::move(other.folder_)), path_(std::move(other.path_)) {
    other.folder_.clear();
}

PipedInput::~PipedInput() {
    if (folder_.empty()) return;
    std::error_code ignored;
    fs::remove_all(platform::pathOf(folder_), ignored);
}

bool PipedInput::deliver(std::ostream& out, std::ostream& err, bool convertsInPlace) const {
    bool read = true;
    std::error_code error;
    const fs::path copy = platform::pathOf(path_);
    std::vector<fs::path> logs;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(platform::pathOf(folder_), error)) {
        const fs::path& file = entry.path();
        if (isErrorLog(file)) {
            logs.push_back(file);
        } else if (!convertsInPlace && file != copy && entry.is_regular_file(error)) {
            read = copyFileTo(file, out) && read;
        }
    }
    if (convertsInPlace) read = copyFileTo(copy, out) && read;
    out.flush();
    for (const fs::path& log : logs) read = copyFileTo(log, err) && read;
    return read && !error;
}

}  // namespace tessel::cli
