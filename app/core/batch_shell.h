// What the batch core needs from the program around it (the command-line
// tool or the desktop window): the files to convert, yes/no answers, a place
// for the report, and a way to show error logs.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_outcome.h"

namespace tessel::app {

// Headings are shown larger in the desktop report; other lines plainly.
enum class ReportStyle { Heading, Normal };

struct FileChoice {
    std::string_view title;
    std::string_view filter;
};

// The code page multilingual HTML is written in and the charset name its
// META declaration gets (empty: the code page's own name). Code page 0: the
// user cancelled.
struct CodePageChoice {
    unsigned codePage = 0;
    std::string charsetName;
};

class BatchShell {
  public:
    virtual ~BatchShell() = default;

    // The files of one batch in order; empty when the user chose none.
    virtual std::vector<std::string> chooseFiles(const FileChoice& choice) = 0;
    // A question answered Yes (true) or No.
    virtual bool askYesNo(const std::string& question) = 0;
    // Whether `existingOutput`, refused by the export, may be replaced by
    // the output of `inputPath`; `question` is the report's wording of it.
    virtual bool askOverwrite(const std::string& /*existingOutput*/,
                              const std::string& /*inputPath*/, const std::string& question) {
        return askYesNo(question);
    }
    // Appends text at the end of the report.
    virtual void appendReport(const std::string& text, ReportStyle style) = 0;
    // Empties the report (a command of another format group starts).
    virtual void clearReport() = 0;
    // Shows the error logs a batch wrote, in the order they were written.
    virtual void openErrorLogs(const std::vector<std::string>& paths) = 0;
    // Closes views of the given error logs before they are written again;
    // false cancels the command (the user kept unsaved changes).
    virtual bool closeErrorLogViews(const std::vector<std::string>& /*logPaths*/) { return true; }
    // One file for a job that asked for it (the HTML tag definition file);
    // empty when the user chose none.
    virtual std::string chooseOneFile(const FileChoice& /*choice*/) { return {}; }
    // The code page and charset name of a multilingual HTML command, asked
    // before its files; `presetCodePage` is offered first. A shell that
    // cannot ask answers code page 0, which ends the command.
    virtual CodePageChoice chooseCodePage(unsigned /*presetCodePage*/) { return {}; }

    // Around each file of a batch: before anything about it is reported;
    // after its export ran, before it is counted and its result reported
    // (the shell may move the files the call wrote, or turn the result into
    // a refusal); and after its report.
    virtual void fileStarting(const std::string& /*inputPath*/) {}
    // Where the outputs go elsewhere (keepFilesBesideInput) and the input's
    // folder refused them, a copy of the input under its own name in a
    // private folder where they go, for the job to run on again; the shell
    // removes it once the file is reported. Nothing: the refusal stands.
    virtual std::optional<std::string> stagedInput(const std::string& /*inputPath*/) {
        return std::nullopt;
    }
    virtual void fileConverted(FileOutcome& /*outcome*/) {}
    virtual void fileReported(const FileOutcome& /*outcome*/) {}
    // Asked before each file instead of converting it: the outcome of a file
    // another process converted and the shell has already reported; the
    // session then only counts it. Nothing: the session converts the file.
    virtual std::optional<FileOutcome> fileDoneElsewhere(const std::string& /*inputPath*/) {
        return std::nullopt;
    }
    // Asked before each file of a batch: true ends the batch there (the user
    // cancelled); the report then says how many files were done.
    virtual bool stopRequested() { return false; }
};

}  // namespace tessel::app
