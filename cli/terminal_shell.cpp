#include "terminal_shell.h"

#include <istream>
#include <ostream>
#include <string>

#include "core/report_texts.h"
#include "tessel_cat.h"
#include "tool_texts.h"

namespace tessel::cli {

TerminalShell::TerminalShell(std::vector<BatchFile> files, ShellStreams streams,
                             ShellSettings settings)
    : files_(std::move(files)),
      streams_(streams),
      settings_(std::move(settings)),
      progress_(streams_.err, streams_.errIsTerminal) {
    for (const BatchFile& file : files_) subfolders_[file.path] = file.subfolder;
    if (settings_.outputFolder) {
        outputFolder_.emplace(*settings_.outputFolder, [this](const std::string& existing) {
            return confirmReplace(existing);
        });
    }
}

bool TerminalShell::prepareOutputFolder() {
    if (!outputFolder_) return true;
    if (std::optional<std::string> problem = outputFolder_->prepare()) {
        streams_.err << fill(text::kUsageProblem, {fill(text::kOutputDirNotUsable,
                                                        {*settings_.outputFolder, *problem})});
        return false;
    }
    return true;
}

app::CodePageChoice TerminalShell::chooseCodePage(unsigned presetCodePage) {
    if (!settings_.chooseLanguage) return settings_.codePage;
    // The library's language dialog: the host's presenter where there is
    // one, else a numbered prompt on the terminal, else cancelled.
    unsigned codePage = presetCodePage;
    const char* charset = gf_pszGetCodepageFromLanguageDialog(&codePage);
    if (codePage == 0) {
        streams_.err << text::kNoLanguageChosen;
        tally_.refusedArguments = true;
        return {};
    }
    // A charset name given on the command line stands over the dialog's.
    if (!settings_.codePage.charsetName.empty()) return {codePage, settings_.codePage.charsetName};
    return {codePage, charset != nullptr ? charset : ""};
}

std::vector<std::string> TerminalShell::chooseFiles(const app::FileChoice&) {
    std::vector<std::string> paths;
    for (const BatchFile& file : files_) paths.push_back(file.path);
    return paths;
}

bool TerminalShell::confirmReplace(const std::string& existing) {
    if (settings_.overwrite) return true;
    return askYesNo(fill(app::text::kOverwriteQuestion, {existing}));
}

bool TerminalShell::askYesNo(const std::string& question) {
    if (!streams_.inIsTerminal) {
        std::string oneLine = question;
        for (char& c : oneLine) {
            if (c == '\n') c = ' ';
        }
        streams_.err << fill(text::kAnsweredNo, {oneLine});
        return false;
    }
    // The report is flushed first so the question follows the file it is about.
    report() << heldReport_;
    heldReport_.clear();
    report().flush();
    streams_.err << fill(text::kAskYesNo, {question}) << std::flush;
    std::string answer;
    if (!std::getline(streams_.in, answer)) return false;
    return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

void TerminalShell::appendReport(const std::string& text, app::ReportStyle) {
    // Quiet: a file's lines are held until its result is known; the heading,
    // the lines between files and the summary block are left out (finish()
    // writes one summary line instead).
    if (!settings_.quiet) {
        report() << text;
    } else if (phase_ == QuietPhase::InFile) {
        heldReport_ += text;
    }
}

void TerminalShell::openErrorLogs(const std::vector<std::string>& paths) {
    // Quiet: the problem line of each file on standard error names its log.
    if (settings_.quiet) return;
    for (const std::string& path : paths) report() << fill(text::kErrorLogKept, {path});
}

void TerminalShell::fileStarting(const std::string& inputPath) {
    if (hooks_.starting) hooks_.starting();
    phase_ = QuietPhase::InFile;
    heldReport_.clear();
    problems_.clear();
    report().flush();
    progress_.starting(inputPath);
}

void TerminalShell::fileConverted(app::FileOutcome& outcome) {
    progress_.finished();
    if (!outputFolder_) return;
    problems_ = outputFolder_->takeOutputs(outcome, subfolders_[outcome.inputPath]);
    if (outcome.outputCreated) appendReport(fill(text::kWrittenTo, {outcome.outputPath}), {});
}

std::optional<std::string> TerminalShell::stagedInput(const std::string& inputPath) {
    if (!outputFolder_) return std::nullopt;
    return outputFolder_->stageInput(inputPath);
}

void TerminalShell::fileReported(const app::FileOutcome& outcome) {
    if (outputFolder_) outputFolder_->releaseStagedInput();
    FileStatus status = statusOf(outcome, !problems_.empty());
    tally_.add(outcome, status);
    if (status != FileStatus::Converted) report() << heldReport_;
    heldReport_.clear();
    phase_ = QuietPhase::AfterFiles;
    report().flush();
    streams_.err << problemLines(outcome, status, problems_) << std::flush;
    if (settings_.jsonReport) {
        streams_.out << fileJson(outcome, status, problems_) << std::flush;
    }
    if (hooks_.reported) hooks_.reported(outcome, status);
}

void TerminalShell::takeRecordsFrom(
    std::function<std::optional<FileRecord>(std::size_t index)> recordOf) {
    recordOf_ = std::move(recordOf);
}

std::optional<app::FileOutcome> TerminalShell::fileDoneElsewhere(const std::string& inputPath) {
    if (!recordOf_) return std::nullopt;
    app::FileOutcome outcome;
    outcome.inputPath = inputPath;
    std::optional<FileRecord> record = recordOf_(nextRecord_++);
    phase_ = QuietPhase::AfterFiles;
    if (!record) {
        outcome.result = -1;
        tally_.add(outcome, FileStatus::Failed);
        streams_.err << fill(text::kFileProblem, {inputPath, text::kWorkerEnded}) << std::flush;
        return outcome;
    }
    outcome.countedRead = record->countedRead;
    outcome.outputCreated = record->outputCreated;
    outcome.errorLogPath = record->errorLogPath;
    tally_.add(outcome, record->status);
    // The streams in the order the serial run writes them last for a file.
    if (settings_.jsonReport) {
        streams_.err << record->err << std::flush;
        streams_.out << record->out << std::flush;
    } else {
        streams_.out << record->out << std::flush;
        streams_.err << record->err << std::flush;
    }
    return outcome;
}

void TerminalShell::finish() {
    if (settings_.quiet && tally_.files > 0) {
        report() << fill(text::kQuietSummary,
                         {std::to_string(tally_.files), std::to_string(tally_.converted),
                          std::to_string(tally_.warnings), std::to_string(tally_.failed),
                          std::to_string(tally_.outputsCreated), std::to_string(tally_.errorLogs)});
    }
    report().flush();
    if (settings_.jsonReport) streams_.out << summaryJson(tally_) << std::flush;
}

}  // namespace tessel::cli
