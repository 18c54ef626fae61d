// The batch workflow: a command converts the chosen files one by one through
// its export, handles outputs that already exist, reports each result,
// counts files read, outputs created and error logs written, and ends with a
// run summary.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/back_checks.h"
#include "core/batch_shell.h"
#include "core/command_table.h"
#include "core/export_binding.h"
#include "core/file_outcome.h"
#include "core/report_texts.h"

namespace tessel::app {

struct BatchOptions {
    bool overwriteExisting = false;  // delete existing outputs without asking
    // The shell moves each output elsewhere after the call: a file already
    // lying next to the input under the output's name is then never replaced
    // (the library's refusal stands), since the user did not ask for it.
    bool keepFilesBesideInput = false;
};

// Values of one run of a command beyond its table row.
struct RunSettings {
    // Replaces the command's output extension ("" converts in place when the
    // export can).
    std::optional<std::string> outputExtension;
    bool deleteBackup = true;
    std::string tagFilePath;
    // A tag definition file was asked for: the report names it (or tells that
    // none is used) after the heading.
    bool tagFileAsked = false;
    // The shell asks the user for the tag definition file after the heading
    // (HTML mark-up with the desktop's "Ask for HTML Tag Definition File").
    bool chooseTagFile = false;
    // Multilingual HTML: the code page offered first; the shell's choice
    // replaces both for the run.
    unsigned codePage = 1252;
    std::string charsetName;
    // Back-conversions: the tag checks of the RTF read, and its original.
    BackCheckSettings backChecks;
};

struct RunCounters {
    int filesRead = 0;
    int outputsCreated = 0;
    int errorLogsWritten = 0;
    std::vector<std::string> errorLogPaths;
};

// The report text of one file's result.
std::string fileResultText(ReportKind kind, bool conversionFlag, int result);

// One counted line of the summary: its none, one or many form.
std::string summaryCountLine(const text::CountTexts& texts, int count);

// The local time in the summary's form.
std::string summaryTimeNow();

class BatchSession {
  public:
    explicit BatchSession(BatchShell& shell, BatchOptions options = {},
                          std::function<std::string()> timeText = summaryTimeNow);

    // Runs a command from the file choice to the summary; returns what
    // happened to each file (empty when no file was chosen or the command was
    // cancelled).
    std::vector<FileOutcome> runCommand(const Command& command, const RunSettings& settings = {});

    // One file: calls the export, handles an existing output, counts and
    // reports.
    FileOutcome processFile(const Command& command, const std::string& inputPath,
                            const RunSettings& settings);

    // Writes the summary, resets the counters and opens the kept error logs.
    void writeSummary();

    // A command or check of `group` starts: another group than the last one
    // empties the report; none leaves the report and the last group as they
    // are.
    void enterGroup(std::optional<FormatGroup> group);

    const RunCounters& counters() const { return counters_; }
    BatchOptions& options() { return options_; }
    BatchShell& shell() { return shell_; }

  private:
    bool allowOverwrite(const std::string& existingOutput, const std::string& inputPath);
    int replaceExistingOutput(const Command& command, const ExportRequest& request,
                              const std::string& writtenName, int refusal);
    void writeHeading(const Command& command, RunSettings& settings);
    void count(FileOutcome& outcome);
    void appendSourceEncodingReport(const Command& command);

    BatchShell& shell_;
    BatchOptions options_;
    std::function<std::string()> timeText_;
    RunCounters counters_;
    std::optional<FormatGroup> lastGroup_;
};

}  // namespace tessel::app
