// The batch core's shell in the desktop program: the report goes into a log
// document, the questions and file choices to the user prompts, the code
// page to the library's language dialog, and the error logs into windows of
// the main frame. It may be called from a batch worker thread: whatever
// touches widgets runs on the window's thread while the worker waits.
//
// A command of another format group empties the log once its files are
// chosen (a cancelled choice keeps the log), or, with the option
// clearLogOnlyWhenFilesChosen off, as it starts. The first command into a log opened from
// disk adds to it instead of emptying it.
//
// With an output folder each file's output and error log are moved into it
// by the tool's -o rules once converted (the folder is made when the files
// are chosen; one that cannot be made ends the command with a line in the
// report); a file whose outputs cannot be delivered is listed among the
// problems of the run.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "core/batch_shell.h"
#include "core/output_folder.h"
#include "desktop_host.h"
#include "input_problem.h"

namespace tessel::desktop {

class CTesselFilterPackDoc;

class DesktopShell : public app::BatchShell {
  public:
    DesktopShell(DesktopHost& host, CTesselFilterPackDoc& log) : host_(host), log_(log) {}
    ~DesktopShell() override;
    DesktopShell(const DesktopShell&) = delete;
    DesktopShell& operator=(const DesktopShell&) = delete;

    std::vector<std::string> chooseFiles(const app::FileChoice& choice) override;
    std::string chooseOneFile(const app::FileChoice& choice) override;
    bool askYesNo(const std::string& question) override;
    // With "Overwrite Existing Files" on, Yes without asking; else the user
    // answers for this file or the rest of the batch. The page an RTF file
    // was marked up from is always asked for, with a warning.
    bool askOverwrite(const std::string& existingOutput, const std::string& inputPath,
                      const std::string& question) override;
    void appendReport(const std::string& text, app::ReportStyle style) override;
    void clearReport() override;
    void openErrorLogs(const std::vector<std::string>& paths) override;
    bool closeErrorLogViews(const std::vector<std::string>& logPaths) override;
    // The library's language dialog, preselected with `presetCodePage`; the
    // choice is remembered for the next multilingual run.
    app::CodePageChoice chooseCodePage(unsigned presetCodePage) override;
    void fileStarting(const std::string& inputPath) override;
    // An empty or unreadable input gets a line in the user's words before
    // its result, with the library's code; the library's message boxes about
    // it are not shown.
    void fileConverted(app::FileOutcome& outcome) override;
    void fileReported(const app::FileOutcome& outcome) override;
    std::optional<std::string> stagedInput(const std::string& inputPath) override;
    bool stopRequested() override;

    // The folder the next command's outputs go into; empty: next to their
    // inputs. Set on the window's thread before the command runs.
    void setOutputFolder(const QString& folder);

    // The command about to run, whose file choice is remembered (null: a
    // check, whose choices are not), and files that stand for its next file
    // choice instead of asking (dropped or recent files).
    void setCommand(const app::Command* command) { command_ = command; }
    void presetFiles(const QStringList& files) { presetFiles_ = files; }

    // Whether the last command got as far as choosing files, and the files
    // of it that wrote an error log; taking them starts the next run afresh.
    bool batchChosen() const { return fileCount_ > 0; }
    QList<BatchProblem> takeProblems();

  private:
    QStringList askForFiles(const app::FileChoice& choice);
    // Makes the output folder; false (with a line in the report) when it
    // cannot be used. On the window's thread.
    bool prepareOutputFolder();
    void deliverOutputs(app::FileOutcome& outcome);

    DesktopHost& host_;
    CTesselFilterPackDoc& log_;
    bool clearPending_ = false;
    bool groupEntered_ = false;
    int fileCount_ = 0;
    int fileNumber_ = 0;
    QList<BatchProblem> problems_;
    InputCheck inputCheck_;  // of the file being converted
    QStringList libraryMessages_;
    const app::Command* command_ = nullptr;
    std::optional<QStringList> presetFiles_;
    std::optional<bool> overwriteAll_;  // Yes to All or No to All given
    QString outputFolderPath_;
    std::optional<app::OutputFolder> outputFolder_;
    std::string currentInput_;
    // What kept the current file's outputs from the folder, one line each.
    std::vector<std::string> deliveryProblems_;
};

// Whether `output` is the page `rtfInput` was marked up from: the same name
// beside it with another extension than ".rtf".
bool isSourcePageOf(const QString& output, const QString& rtfInput);

// Paths between the core (the file system's bytes) and Qt.
QString fromCorePath(const std::string& path);
std::string toCorePath(const QString& path);

}  // namespace tessel::desktop
