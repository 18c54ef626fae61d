// The batch core's shell on a terminal: the files come from the command line,
// the report goes to standard output (standard error with --report json), and
// the overwrite question is asked on the terminal (answered No when standard
// input is not one). Around each file it moves the outputs into the output
// folder, writes problems to standard error and the file's JSON object.
#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/batch_shell.h"
#include "core/output_folder.h"
#include "file_arguments.h"
#include "file_report.h"
#include "progress_line.h"
#include "worker_frames.h"

namespace tessel::cli {

struct ShellStreams {
    std::ostream& out;
    std::ostream& err;
    std::istream& in;
    bool inIsTerminal = false;
    bool errIsTerminal = false;
};

struct ShellSettings {
    bool quiet = false;       // only files with problems, and one summary line
    bool jsonReport = false;  // JSON objects on standard output
    std::optional<std::string> outputFolder;
    bool overwrite = false;
    // Multilingual HTML: the code page given (0: none) and charset name.
    app::CodePageChoice codePage;
    // Ask for the language in the library's language dialog instead.
    bool chooseLanguage = false;
};

class TerminalShell : public app::BatchShell {
  public:
    TerminalShell(std::vector<BatchFile> files, ShellStreams streams, ShellSettings settings);

    // Creates the output folder; false (with a message) when it cannot be
    // used.
    bool prepareOutputFolder();

    std::vector<std::string> chooseFiles(const app::FileChoice& choice) override;
    bool askYesNo(const std::string& question) override;
    void appendReport(const std::string& text, app::ReportStyle style) override;
    void clearReport() override {}
    void openErrorLogs(const std::vector<std::string>& paths) override;
    app::CodePageChoice chooseCodePage(unsigned presetCodePage) override;
    void fileStarting(const std::string& inputPath) override;
    void fileConverted(app::FileOutcome& outcome) override;
    void fileReported(const app::FileOutcome& outcome) override;
    std::optional<std::string> stagedInput(const std::string& inputPath) override;
    std::optional<app::FileOutcome> fileDoneElsewhere(const std::string& inputPath) override;

    // The files are converted by worker processes: `recordOf` gives the
    // record of the file of an index, which the shell writes out as the
    // file's report; nothing: its worker ended without it.
    void takeRecordsFrom(std::function<std::optional<FileRecord>(std::size_t index)> recordOf);
    // In a worker process: called as each file starts, and once it is
    // reported with its outcome and status.
    struct FileHooks {
        std::function<void()> starting;
        std::function<void(const app::FileOutcome&, FileStatus)> reported;
    };
    void setFileHooks(FileHooks hooks) { hooks_ = std::move(hooks); }

    // The counts of the files reported so far.
    RunTally& tally() { return tally_; }
    // Writes the run's JSON object (with --report json).
    void finish();

  private:
    // Where the quiet report stands: before the first file or between files
    // (left out), or in a file (held until its result is known).
    enum class QuietPhase { BeforeFiles, InFile, AfterFiles };

    bool confirmReplace(const std::string& existing);
    std::ostream& report() { return settings_.jsonReport ? streams_.err : streams_.out; }

    std::vector<BatchFile> files_;
    std::map<std::string, std::string> subfolders_;
    ShellStreams streams_;
    ShellSettings settings_;
    std::optional<app::OutputFolder> outputFolder_;
    ProgressLine progress_;
    QuietPhase phase_ = QuietPhase::BeforeFiles;
    std::string heldReport_;
    std::vector<std::string> problems_;
    RunTally tally_;
    std::function<std::optional<FileRecord>(std::size_t)> recordOf_;
    std::size_t nextRecord_ = 0;
    FileHooks hooks_;
};

}  // namespace tessel::cli
