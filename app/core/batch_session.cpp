#include "core/batch_session.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "core/output_files.h"
#include "core/xliff_jobs.h"
#include "frame/job_names.h"
#include "frame/return_codes.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/safe_files.h"
#include "tessel_cat.h"

namespace tessel::app {

namespace {

// The report texts carry one "%d" or "%s"; filling them by substitution keeps
// formats out of printf.
std::string fill(std::string_view format, std::string_view placeholder, std::string_view value) {
    std::string text(format);
    std::size_t at = text.find(placeholder);
    if (at != std::string::npos) text.replace(at, placeholder.size(), value);
    return text;
}

std::string withNumber(std::string_view format, int number) {
    return fill(format, "%d", std::to_string(number));
}

std::string withText(std::string_view format, std::string_view value) {
    return fill(format, "%s", value);
}

// The library refuses to overwrite an output with one of these codes.
// The export could not create its output (a folder it may not write).
constexpr int kCannotOpenOutputCode = -102;

bool outputAlreadyExists(int result) {
    return result == -115 || result == -1401;
}

std::string returnCodeReport(int result) {
    if (std::optional<std::string_view> known = returnCodeText(result)) {
        return std::string(*known) + text::kAfterCodeText;
    }
    return withNumber(text::kUnknownErrorCode, result);
}

std::string changesResultText(bool conversionFlag, int result) {
    if (result < 0) return returnCodeReport(result);
    if (result == 0) return conversionFlag ? text::kFileConvertedOk : text::kNoChangesMade;
    return withNumber(text::kChangesMade, result);
}

std::string tagsResultText(int result) {
    switch (result) {
        case 0:
            return text::kNoTagsMarkedUp;
        case 1:
            return text::kOneTagMarkedUp;
        case -1:
            return text::kParsingFailed;
        case -2:
            return text::kCouldNotCreateOutput;
        default:
            break;
    }
    // Other failures get their own text; a negative number of tags marked up
    // would report a failure as a success.
    if (result < 0) return returnCodeReport(result);
    return withNumber(text::kTagsMarkedUp, result);
}

// An existing output may be replaced: never the input itself (an output name
// that resolves to the input) and never a folder.
bool mayReplace(const std::string& existingOutput, const std::string& inputPath) {
    std::optional<FileStamp> output = stampOf(existingOutput);
    if (!output || output->isDirectory) return false;
    std::optional<FileStamp> input = stampOf(inputPath);
    return !(input && input->device == output->device && input->inode == output->inode);
}

// A log that holds something: an empty one (a full disk) is not offered.
bool holdsSomething(const std::optional<FoundFile>& log) {
    return log && !log->stamp.isDirectory && log->stamp.size > 0;
}

ExportRequest requestFor(const std::string& inputPath, const std::string& extension,
                         const RunSettings& settings) {
    ExportRequest request;
    request.inputPath = inputPath;
    request.outputExtension = extension;
    request.tagFilePath = settings.tagFilePath;
    request.codePage = settings.codePage;
    request.charsetName = settings.charsetName;
    request.deleteBackup = settings.deleteBackup;
    return request;
}

std::string extensionFor(const Command& command, const RunSettings& settings) {
    if (!settings.outputExtension) return std::string(command.outputExtension);
    // Only an export that converts in place may run without an extension.
    if (settings.outputExtension->empty() &&
        !convertsInPlaceWithoutExtension(command.exportBinding)) {
        return std::string(command.outputExtension);
    }
    return *settings.outputExtension;
}

}  // namespace

std::string fileResultText(ReportKind kind, bool conversionFlag, int result) {
    switch (kind) {
        case ReportKind::Tags:
            return tagsResultText(result);
        case ReportKind::NewTags:
            return result < 0 ? returnCodeReport(result) : summaryCountLine(text::kNewTags, result);
        case ReportKind::ExtractedTags:
            return result < 0 ? returnCodeReport(result)
                              : summaryCountLine(text::kExtractedTags, result);
        case ReportKind::Units:
            return result < 0 ? returnCodeReport(result)
                              : summaryCountLine(text::kUnitsExtracted, result);
        case ReportKind::MergedUnits:
            return result < 0 ? returnCodeReport(result)
                              : summaryCountLine(text::kUnitsMerged, result);
        case ReportKind::Changes:
            break;
    }
    return changesResultText(conversionFlag, result);
}

std::string summaryCountLine(const text::CountTexts& texts, int count) {
    if (count == 0) return texts.none;
    if (count == 1) return texts.one;
    return withNumber(texts.many, count);
}

std::string summaryTimeNow() {
    std::string now = platform::localTimeFormatted(text::kSummaryTimeFormat);
    return now.empty() ? "\n\n" : now;
}

BatchSession::BatchSession(BatchShell& shell, BatchOptions options,
                           std::function<std::string()> timeText)
    : shell_(shell), options_(options), timeText_(std::move(timeText)) {}

std::vector<FileOutcome> BatchSession::runCommand(const Command& command,
                                                  const RunSettings& settings) {
    enterGroup(command.group);
    RunSettings run = settings;
    // Multilingual HTML: the code page comes first; without one the command
    // ends before any file is chosen.
    if (takesCodePage(command)) {
        CodePageChoice choice = shell_.chooseCodePage(settings.codePage);
        if (choice.codePage == 0) return {};
        run.codePage = choice.codePage;
        run.charsetName = std::move(choice.charsetName);
    }
    std::vector<std::string> files =
        shell_.chooseFiles(FileChoice{command.fileChoiceTitle, command.fileFilter});
    if (files.empty()) return {};

    // HTML mark-up writes its heading and settles the tag definition file
    // before the error-log views are closed; the others close them first.
    const bool headingFirst = takesTagFile(command);
    if (headingFirst) writeHeading(command, run);
    std::vector<std::string> logNames;
    for (const std::string& file : files) logNames.push_back(outputNameFor(file, ".Err"));
    if (!shell_.closeErrorLogViews(logNames)) return {};
    if (!headingFirst) writeHeading(command, run);

    std::vector<FileOutcome> outcomes;
    for (const std::string& file : files) {
        if (shell_.stopRequested()) break;
        if (std::optional<FileOutcome> done = shell_.fileDoneElsewhere(file)) {
            count(*done);
            outcomes.push_back(std::move(*done));
            continue;
        }
        outcomes.push_back(processFile(command, file, run));
    }
    const int chosen = static_cast<int>(files.size());
    if (outcomes.size() < files.size()) {
        shell_.appendReport(
            withNumber(withNumber(text::kCancelledAfter, static_cast<int>(outcomes.size())),
                       chosen),
            ReportStyle::Normal);
    } else {
        shell_.appendReport(withNumber(text::kFilesProcessed, chosen), ReportStyle::Normal);
    }
    writeSummary();
    return outcomes;
}

void BatchSession::writeHeading(const Command& command, RunSettings& settings) {
    shell_.appendReport(std::string(command.heading), ReportStyle::Heading);
    if (!takesTagFile(command)) return;
    if (settings.chooseTagFile) {
        settings.tagFilePath =
            shell_.chooseOneFile(FileChoice{text::kTagFileChoiceTitle, filter::kText});
        settings.tagFileAsked = true;
    }
    if (settings.tagFileAsked) {
        shell_.appendReport(settings.tagFilePath.empty()
                                ? std::string(text::kNoTagFileUsed)
                                : withText(text::kUsingTagFile, settings.tagFilePath),
                            ReportStyle::Normal);
    }
}

// The HTML and SGML mark-ups say how they read a source that they did not
// read as Windows 1252, and the back-conversions when the document's own
// declaration overrode the chosen code page, in a line of the file's report.
void BatchSession::appendSourceEncodingReport(const Command& command) {
    bool readsSources =
        (command.family == "markup" || command.family == "extract") &&
        (command.tagFile == TagFileRole::Optional || command.tagFile == TagFileRole::Required);
    if (!readsSources && command.family != "back" && command.family != "merge") return;
    char report[256];
    if (f_iGetSourceEncodingReport(report, sizeof report) > 0) {
        shell_.appendReport(std::string(report) + "\n", ReportStyle::Normal);
    }
}

FileOutcome BatchSession::processFile(const Command& command, const std::string& inputPath,
                                      const RunSettings& settings) {
    shell_.fileStarting(inputPath);
    shell_.appendReport(withText(text::kConvertingFile, inputPath), ReportStyle::Normal);

    std::string extension = extensionFor(command, settings);
    FileOutcome outcome;
    outcome.inputPath = inputPath;
    // A tag collection writes the tag file; its log lies next to the input.
    bool collects = command.tagFile == TagFileRole::Collected;
    outcome.outputPath = collects ? settings.tagFilePath : outputNameFor(inputPath, extension);
    std::string logName = errorLogNameFor(collects ? inputPath : outcome.outputPath);
    // One job per file across processes: a second run on the same input, or
    // one whose output has the same name, waits until this one has written,
    // moved and reported its files.
    platform::NameLocks locks;
    locks.lock({inputPath, outcome.outputPath});
    // Files that were there before the call are counted only when the call
    // wrote them anew.
    std::optional<FoundFile> logBefore = findWithStamp(logName);
    std::optional<FoundFile> outputBefore = findWithStamp(outcome.outputPath);

    ExportRequest request = requestFor(inputPath, extension, settings);
    int result = callExport(command.exportBinding, request);
    // Outputs that go elsewhere need nothing of the input's folder: where a
    // file there holds the output's name, or the folder cannot be written,
    // the job runs again on a copy of the input that the shell puts where
    // the outputs go.
    std::optional<std::string> staged;
    if (options_.keepFilesBesideInput && !collects &&
        (outputAlreadyExists(result) || result == kCannotOpenOutputCode)) {
        staged = shell_.stagedInput(inputPath);
    }
    if (staged) {
        outcome.outputPath = outputNameFor(*staged, extension);
        logName = errorLogNameFor(outcome.outputPath);
        logBefore.reset();
        outputBefore.reset();
        request = requestFor(*staged, extension, settings);
        request.userInputPath = inputPath;
        result = callExport(command.exportBinding, request);
    }
    const std::string& readPath = staged ? *staged : inputPath;
    if (outputAlreadyExists(result)) {
        std::string writtenName = command.writtenExtension.empty() || settings.outputExtension
                                      ? outcome.outputPath
                                      : outputNameFor(readPath, command.writtenExtension);
        result = replaceExistingOutput(command, request, writtenName, result);
    }
    if (command.family == "back" && settings.backChecks.enabled && outputWritten(result)) {
        BackCheckJob job;
        job.inputPath = readPath;
        // The log the export kept, or a new one under the name it gives logs.
        std::optional<FoundFile> kept = findWithStamp(logName);
        job.logPath =
            kept ? kept->path : outputNameFor(readPath, std::string(".") + frame::kLogExtension);
        job.target = backCheckTarget(command, settings.codePage);
        job.functionCode = job.target ? job.target->target->functionCode : frame::kRtfToText;
        job.result = result;
        result = runBackChecks(job, settings.backChecks);
    }
    outcome.result = result;
    outcome.countedRead = result != -101;
    std::optional<FoundFile> outputAfter = findWithStamp(outcome.outputPath);
    outcome.outputCreated = !outputAlreadyExists(result) && isNewVersion(outputBefore, outputAfter);
    if (outcome.outputCreated) outcome.outputPath = outputAfter->path;
    if (result < 0) {
        std::optional<FoundFile> logAfter = findWithStamp(logName);
        // -113 says the log holds this call's messages even when a log of an
        // earlier run looks the same.
        bool written =
            holdsSomething(logAfter) && (result == -113 || isNewVersion(logBefore, logAfter));
        if (written) {
            outcome.errorLogPath = logAfter->path;
            outcome.errorLogExistedBefore = logBefore && logBefore->path == logAfter->path;
        }
    }
    shell_.fileConverted(outcome);
    count(outcome);
    appendSourceEncodingReport(command);
    if (command.family == "merge" && !lastMergeReport().empty()) {
        shell_.appendReport(lastMergeReport(), ReportStyle::Normal);
    }
    outcome.resultText = fileResultText(command.kind, command.conversionFlag, outcome.result);
    shell_.appendReport(outcome.resultText, ReportStyle::Normal);
    shell_.fileReported(outcome);
    return outcome;
}

// The export refused to write over an existing output. With the user's leave
// the old output is moved aside, the export runs again, and the old output
// goes only once the new one is complete; otherwise it is put back. A file
// whose name differs from the output's only in case is left alone.
int BatchSession::replaceExistingOutput(const Command& command, const ExportRequest& request,
                                        const std::string& writtenName, int refusal) {
    if (!stampOf(writtenName)) {
        if (std::optional<std::string> variant = findAnyExtensionCase(writtenName)) {
            shell_.appendReport(withText(withText(text::kCaseVariantKept, *variant), writtenName),
                                ReportStyle::Normal);
        }
        return refusal;
    }
    if (options_.keepFilesBesideInput || !allowOverwrite(writtenName, request.inputPath) ||
        !mayReplace(writtenName, request.inputPath)) {
        return refusal;
    }
    std::optional<std::string> aside = moveAside(writtenName);
    if (!aside) return refusal;

    int result = callExport(command.exportBinding, request);
    std::optional<FileStamp> written = stampOf(writtenName);
    if (outputWritten(result) && written && !written->isDirectory) {
        std::error_code error;
        std::filesystem::remove(*aside, error);
        return result;
    }
    // The name was free during the call, so a file under it now is this
    // call's partial output.
    if (written && !written->isDirectory) {
        std::error_code error;
        std::filesystem::remove(writtenName, error);
    }
    if (platform::renameFile(*aside, writtenName) != platform::RenameResult::Ok) {
        shell_.appendReport(withText(text::kOldOutputKeptAs, *aside), ReportStyle::Normal);
    }
    return result;
}

bool BatchSession::allowOverwrite(const std::string& existingOutput, const std::string& inputPath) {
    if (options_.overwriteExisting) return true;
    return shell_.askOverwrite(existingOutput, inputPath,
                               withText(text::kOverwriteQuestion, existingOutput));
}

void BatchSession::count(FileOutcome& outcome) {
    if (outcome.countedRead) ++counters_.filesRead;
    if (outcome.outputCreated) ++counters_.outputsCreated;
    if (outcome.errorLogPath) {
        ++counters_.errorLogsWritten;
        counters_.errorLogPaths.push_back(*outcome.errorLogPath);
    }
}

void BatchSession::enterGroup(std::optional<FormatGroup> group) {
    if (!group) return;
    if (group != lastGroup_) shell_.clearReport();
    lastGroup_ = group;
}

void BatchSession::writeSummary() {
    shell_.appendReport(text::kSummaryHeading, ReportStyle::Heading);
    shell_.appendReport(timeText_(), ReportStyle::Normal);
    shell_.appendReport(summaryCountLine(text::kFilesRead, counters_.filesRead),
                        ReportStyle::Normal);
    shell_.appendReport(summaryCountLine(text::kOutputsCreated, counters_.outputsCreated),
                        ReportStyle::Normal);
    shell_.appendReport(summaryCountLine(text::kErrorLogsWritten, counters_.errorLogsWritten),
                        ReportStyle::Normal);
    shell_.appendReport(text::kSummaryEnd, ReportStyle::Normal);

    std::vector<std::string> logs = std::move(counters_.errorLogPaths);
    counters_ = RunCounters{};
    if (!logs.empty()) shell_.openErrorLogs(logs);
}

}  // namespace tessel::app
