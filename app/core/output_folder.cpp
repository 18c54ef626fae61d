#include "core/output_folder.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/output_files.h"
#include "platform/files.h"
#include "platform/format.h"
#include "platform/path_names.h"
#include "platform/streams.h"

namespace tessel::app {

namespace text {
const char* const kOutputExistsBesideInput =
    "%s already lies next to the input, and the output could not be written in the output "
    "folder instead; it is left as it is";
const char* const kWrittenEarlierInRun =
    "%s was written earlier in this run from another input; not replaced";
const char* const kOutputNameIsAFolder = "%s is a folder; not replaced";
const char* const kCannotMove = "cannot move %s to %s: %s";
}  // namespace text

namespace {

namespace fs = std::filesystem;

// The library refuses to write over an existing output with these codes.
constexpr int kOutputExists = -115;
constexpr int kRtfOutputExists = -1401;

std::error_code lastError() {
    return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

// Puts `from` under the name `to`, replacing a file there only when
// `replace`; the system's reason when it cannot.
std::error_code renameInto(const std::string& from, const std::string& to, bool replace) {
    if (replace) return platform::replaceFile(from, to) ? std::error_code() : lastError();
    switch (platform::renameFile(from, to)) {
        case platform::RenameResult::Ok:
            return {};
        case platform::RenameResult::TargetExists:
            return std::make_error_code(std::errc::file_exists);
        case platform::RenameResult::Failed:
            break;
    }
    return lastError();
}

// Writes `from`'s bytes under `to` through a locked temporary beside `to`
// (".NAME~XXXXXX.tmp") and a rename, so that `to` is either complete or as
// it was, and an interrupted copy leaves nothing the next run cannot clear.
std::error_code copyInto(const fs::path& from, const fs::path& to, bool replace) {
    platform::InputStream input;
    errno = 0;
    if (!input.open(platform::nameOf(from), platform::StreamMode::Binary)) return lastError();
    platform::OutputStream output;
    auto existing = replace ? platform::ExistingName::Replace : platform::ExistingName::Refuse;
    errno = 0;
    if (!output.open(platform::nameOf(to), platform::StreamMode::Binary, existing)) {
        return lastError();
    }
    output.dropOnWriteFailure();
    std::vector<char> buffer(platform::kStreamBufferSize);
    while (std::size_t got = input.read(buffer.data(), buffer.size())) {
        output.write(buffer.data(), got);
    }
    if (input.failed()) {
        output.discard();
        return std::make_error_code(std::errc::io_error);
    }
    errno = 0;
    if (!output.close()) return lastError();
    return {};
}

// Moves `from` to `to` (replacing a file there only when `replace`); where
// a rename cannot (another file system), through a copy.
std::error_code moveInto(const fs::path& from, const fs::path& to, bool replace) {
    std::error_code error = renameInto(platform::nameOf(from), platform::nameOf(to), replace);
    if (!error || error == std::errc::file_exists) return error;
    if (std::error_code copyError = copyInto(from, to, replace)) return copyError;
    platform::removeIfPresent(platform::nameOf(from));
    return {};
}

constexpr const char* kWorkFolderPrefix = ".tessel-work-";

bool sameFolder(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error);
}

}  // namespace

OutputFolder::OutputFolder(std::string root, std::function<bool(const std::string&)> mayReplace)
    : root_(std::move(root)), mayReplace_(std::move(mayReplace)) {}

std::optional<std::string> OutputFolder::prepare() const {
    std::error_code error;
    fs::create_directories(platform::pathOf(root_), error);
    if (!error && !fs::is_directory(platform::pathOf(root_), error)) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    if (error) return error.message();
    return std::nullopt;
}

std::vector<std::string> OutputFolder::takeOutputs(FileOutcome& outcome,
                                                   const std::string& subfolder) {
    std::vector<std::string> problems;
    bool refusedBeside = !outcome.outputCreated &&
                         (outcome.result == kOutputExists || outcome.result == kRtfOutputExists);
    if (refusedBeside) {
        std::string existing =
            findAnyExtensionCase(outcome.outputPath).value_or(outcome.outputPath);
        problems.push_back(platform::fillPlaceholders(text::kOutputExistsBesideInput, {existing}));
    }
    if (!outcome.outputCreated && !outcome.errorLogPath) return problems;
    std::string folder =
        subfolder.empty() ? root_
                          : platform::nameOf(platform::pathOf(root_) / platform::pathOf(subfolder));
    std::error_code error;
    fs::create_directories(platform::pathOf(folder), error);
    if (error) {
        problems.push_back(platform::fillPlaceholders(
            text::kCannotMove, {outcome.inputPath, folder, error.message()}));
        return problems;
    }
    if (outcome.outputCreated) takeOutput(outcome, folder, problems);
    if (outcome.errorLogPath) takeErrorLog(outcome, folder, problems);
    return problems;
}

std::optional<std::string> OutputFolder::stageInput(const std::string& inputPath) {
    releaseStagedInput();
    workFolder_ = platform::createPrivateFolder(root_, kWorkFolderPrefix);
    if (workFolder_.empty()) return std::nullopt;
    fs::path copy = platform::pathOf(workFolder_) / platform::pathOf(inputPath).filename();
    if (copyInto(platform::pathOf(inputPath), copy, false)) {
        releaseStagedInput();
        return std::nullopt;
    }
    return platform::nameOf(copy);
}

void OutputFolder::releaseStagedInput() {
    if (workFolder_.empty()) return;
    std::error_code ignored;
    fs::remove_all(platform::pathOf(workFolder_), ignored);
    workFolder_.clear();
}

void OutputFolder::refuseOutput(FileOutcome& outcome) {
    // The output was created by this call (it did not exist before), so it is
    // the tool's to remove.
    platform::removeIfPresent(outcome.outputPath);
    outcome.outputCreated = false;
    outcome.result = kOutputExists;
}

void OutputFolder::takeOutput(FileOutcome& outcome, const std::string& folder,
                              std::vector<std::string>& problems) {
    fs::path written = platform::pathOf(outcome.outputPath);
    fs::path target = platform::pathOf(folder) / written.filename();
    if (sameFolder(written.parent_path().empty() ? "." : written.parent_path(),
                   platform::pathOf(folder))) {
        writtenThisRun_.insert(platform::nameOf(target));
        return;
    }
    std::error_code error;
    bool replace = false;
    if (writtenThisRun_.count(platform::nameOf(target)) != 0) {
        problems.push_back(
            platform::fillPlaceholders(text::kWrittenEarlierInRun, {platform::nameOf(target)}));
        refuseOutput(outcome);
        return;
    }
    if (fs::is_directory(target, error)) {
        problems.push_back(
            platform::fillPlaceholders(text::kOutputNameIsAFolder, {platform::nameOf(target)}));
        refuseOutput(outcome);
        return;
    }
    if (fs::exists(fs::symlink_status(target, error))) {
        if (!mayReplace_(platform::nameOf(target))) {
            refuseOutput(outcome);
            return;
        }
        replace = true;
    }
    error = moveInto(written, target, replace);
    if (error == std::errc::file_exists) {
        refuseOutput(outcome);
        return;
    }
    if (error) {
        problems.push_back(platform::fillPlaceholders(
            text::kCannotMove,
            {platform::nameOf(written), platform::nameOf(target), error.message()}));
        return;
    }
    outcome.outputPath = platform::nameOf(target);
    writtenThisRun_.insert(outcome.outputPath);
}

void OutputFolder::takeErrorLog(FileOutcome& outcome, const std::string& folder,
                                std::vector<std::string>& problems) {
    fs::path written = platform::pathOf(*outcome.errorLogPath);
    fs::path target = platform::pathOf(folder) / written.filename();
    if (sameFolder(written.parent_path().empty() ? "." : written.parent_path(),
                   platform::pathOf(folder)))
        return;
    // A log is replaced like the library replaces it next to the input; one
    // that lay there before this call stays there too.
    std::error_code error = outcome.errorLogExistedBefore ? copyInto(written, target, true)
                                                          : moveInto(written, target, true);
    if (error) {
        problems.push_back(platform::fillPlaceholders(
            text::kCannotMove,
            {platform::nameOf(written), platform::nameOf(target), error.message()}));
        return;
    }
    outcome.errorLogPath = platform::nameOf(target);
}

}  // namespace tessel::app
