#include "file_report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>

#include "core/json_text.h"
#include "core/output_files.h"
#include "exit_codes.h"
#include "platform/files.h"
#include "platform/path_names.h"
#include "platform/safe_files.h"
#include "platform/streams.h"
#include "tool_texts.h"

namespace tessel::cli {

namespace {

constexpr int kWarningsInLog = -113;
constexpr int kCannotOpenInput = -101;
constexpr int kCannotRenameInput = -106;
// Failures to create, rename or remove a file next to the input.
constexpr int kOutputSideCodes[] = {-2, -102, -106, -107, -108, -114};

std::string_view statusName(FileStatus status) {
    switch (status) {
        case FileStatus::Converted:
            return "converted";
        case FileStatus::Warnings:
            return "warnings";
        case FileStatus::Failed:
            break;
    }
    return "failed";
}

// The report text on one line: its line ends become blanks, the trailing ones
// go.
std::string oneLine(std::string_view text) {
    std::string line(text);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    for (char& c : line) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return line;
}

// The system's reason why a path cannot be used: found by trying what the
// library tried (reading the input, creating a file beside the output).
std::optional<std::string> readFailure(const std::string& path) {
    // A pipe or device is not opened to find out: with no writer on the
    // other side the open would wait for ever.
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(platform::pathOf(path), error);
    if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        return std::string(std::filesystem::is_directory(status) ? "is a folder"
                                                                 : "not a regular file");
    }
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        std::fclose(file);
        return std::nullopt;
    }
    return std::strerror(errno);
}

// What stands under a name a job writes, when it is anything but a regular
// file: the job refuses such names rather than write through them.
std::optional<std::string> nameProblem(const std::string& path) {
    switch (platform::unusableFinalName(path)) {
        case 0:
            return std::nullopt;
        case ELOOP:
            return fill(text::kNameIsLink, {path});
        case EISDIR:
            return fill(text::kNameIsFolder, {path});
        default:
            return fill(text::kNameNotRegular, {path});
    }
}

// Tries what the job did beside the output: create a file and fill a block
// of it, which finds a refused access, a read-only or a full file system.
std::optional<std::string> createFailure(const std::string& outputPath) {
    std::filesystem::path folder = platform::pathOf(outputPath).parent_path();
    std::string folderName = platform::nameOf(folder.empty() ? "." : folder);
    const std::string probeName = platform::nameOf(platform::pathOf(folderName) / ".tessel-probe");
    platform::OutputStream probe;
    errno = 0;
    if (!probe.open(probeName, platform::StreamMode::Binary)) {
        return std::string(std::strerror(errno != 0 ? errno : EIO));
    }
    probe.dropOnWriteFailure();
    probe.write(std::string(platform::kStreamBufferSize, ' '));
    errno = 0;
    bool written = probe.close();
    int error = errno != 0 ? errno : EIO;
    platform::removeIfPresent(probeName);
    if (!written) return std::string(std::strerror(error));
    return std::nullopt;
}

std::optional<std::string> systemReason(const app::FileOutcome& outcome) {
    if (outcome.result == kCannotOpenInput) return readFailure(outcome.inputPath);
    for (int code : kOutputSideCodes) {
        if (outcome.result != code) continue;
        const std::string log = app::findAnyExtensionCase(app::errorLogNameFor(outcome.outputPath))
                                    .value_or(app::errorLogNameFor(outcome.outputPath));
        // An in-place job refuses an input that is a link before renaming it.
        if (outcome.result == kCannotRenameInput) {
            if (std::optional<std::string> problem = nameProblem(outcome.inputPath)) return problem;
        }
        for (const std::string& name : {outcome.outputPath, log}) {
            if (std::optional<std::string> problem = nameProblem(name)) return problem;
        }
        return createFailure(outcome.outputPath);
    }
    return std::nullopt;
}

}  // namespace

FileStatus statusOf(const app::FileOutcome& outcome, bool deliveryFailed) {
    if (deliveryFailed) return FileStatus::Failed;
    if (outcome.result >= 0) return FileStatus::Converted;
    if (outcome.result == kWarningsInLog && outcome.outputCreated) return FileStatus::Warnings;
    return FileStatus::Failed;
}

void RunTally::add(const app::FileOutcome& outcome, FileStatus status) {
    ++files;
    if (outcome.countedRead) ++read;
    if (outcome.outputCreated) ++outputsCreated;
    if (outcome.errorLogPath) ++errorLogs;
    switch (status) {
        case FileStatus::Converted:
            ++converted;
            break;
        case FileStatus::Warnings:
            ++warnings;
            break;
        case FileStatus::Failed:
            ++failed;
            break;
    }
}

int RunTally::exitStatus() const {
    if (failed > 0 || refusedArguments) return kExitFailure;
    if (warnings > 0) return kExitWarnings;
    return kExitSuccess;
}

std::string problemLines(const app::FileOutcome& outcome, FileStatus status,
                         const std::vector<std::string>& problems) {
    if (status == FileStatus::Converted) return {};
    std::string lines;
    if (outcome.result < 0) {
        std::string what = oneLine(outcome.resultText);
        if (outcome.errorLogPath) {
            what += " (" + fill(text::kSeeErrorLog, {*outcome.errorLogPath}) + ")";
        } else if (std::optional<std::string> reason = systemReason(outcome)) {
            what += " (" + *reason + ")";
        }
        lines += fill(text::kFileProblem, {outcome.inputPath, what});
    }
    for (const std::string& problem : problems) {
        lines += fill(text::kFileProblem, {outcome.inputPath, problem});
    }
    return lines;
}

std::string fileJson(const app::FileOutcome& outcome, FileStatus status,
                     const std::vector<std::string>& problems) {
    std::optional<std::string> output;
    if (outcome.outputCreated) output = outcome.outputPath;
    std::optional<std::int64_t> count;
    if (outcome.result >= 0) count = outcome.result;
    std::string problemText;
    for (const std::string& problem : problems) {
        problemText += (problemText.empty() ? "" : "\n") + problem;
    }
    return app::JsonObject()
               .text("kind", "file")
               .text("input", outcome.inputPath)
               .optionalText("output", output)
               .optionalText("errorLog", outcome.errorLogPath)
               .number("returnCode", outcome.result)
               .text("text", oneLine(outcome.resultText))
               .optionalNumber("count", count)
               .text("status", statusName(status))
               .optionalText("problem",
                             problemText.empty() ? std::nullopt : std::optional(problemText))
               .str() +
           "\n";
}

std::string summaryJson(const RunTally& tally) {
    return app::JsonObject()
               .text("kind", "summary")
               .number("files", tally.files)
               .number("filesRead", tally.read)
               .number("outputsCreated", tally.outputsCreated)
               .number("errorLogsWritten", tally.errorLogs)
               .number("converted", tally.converted)
               .number("warnings", tally.warnings)
               .number("failed", tally.failed)
               .flag("argumentsRefused", tally.refusedArguments)
               .number("exitStatus", tally.exitStatus())
               .str() +
           "\n";
}

}  // namespace tessel::cli
