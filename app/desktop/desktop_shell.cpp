#include "desktop_shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <memory>

#include "batch_thread.h"
#include "core/report_texts.h"
#include "desktop_host.h"
#include "desktop_texts.h"
#include "file_choice_memory.h"
#include "input_problem.h"
#include "library_hooks.h"
#include "log_document.h"
#include "platform/format.h"
#include "tessel_cat.h"
#include "user_prompts.h"

namespace tessel::desktop {

namespace {

QString fromCoreText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList fromCorePaths(const std::vector<std::string>& paths) {
    QStringList list;
    for (const std::string& path : paths) list << fromCorePath(path);
    return list;
}

}  // namespace

QString fromCorePath(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string toCorePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

DesktopShell::~DesktopShell() {
    if (!inputCheck_.fine()) setLibraryMessageCapture(nullptr);
}

std::vector<std::string> DesktopShell::chooseFiles(const app::FileChoice& choice) {
    QStringList chosen;
    callOnGuiThread([&] {
        if (presetFiles_) {
            chosen = *presetFiles_;
            presetFiles_.reset();
        } else {
            chosen = askForFiles(choice);
        }
        if (chosen.isEmpty()) return;
        if (clearPending_) log_.clearReport();
        clearPending_ = false;
        if (!prepareOutputFolder()) {
            chosen.clear();
            return;
        }
        host_.batchStarted(static_cast<int>(chosen.size()));
    });
    fileCount_ = static_cast<int>(chosen.size());
    fileNumber_ = 0;
    overwriteAll_.reset();
    problems_.clear();
    std::vector<std::string> files;
    for (const QString& file : chosen) files.push_back(toCorePath(file));
    return files;
}

// The command's last folder, pattern and sub-folders choice start the
// dialog, and where a confirmed choice ended is kept for the next one.
QStringList DesktopShell::askForFiles(const app::FileChoice& choice) {
    QString title = fromCoreText(choice.title);
    QString filter = fromCoreText(choice.filter);
    bool standard = host_.options().useStandardFileDialog;
    if (command_ == nullptr) return host_.prompts().chooseFiles(title, filter, standard);
    QString key = commandKey(*command_);
    std::unique_ptr<QSettings> settings(openSettings());
    FileChoiceMemory memory = readFileChoice(*settings, key);
    QStringList chosen = host_.prompts().chooseBatchFiles(title, filter, standard, memory);
    if (chosen.isEmpty()) return chosen;
    if (memory.folder.isEmpty()) memory.folder = QFileInfo(chosen.first()).absolutePath();
    writeFileChoice(*settings, key, memory);
    return chosen;
}

void DesktopShell::setOutputFolder(const QString& folder) {
    outputFolderPath_ = folder;
    outputFolder_.reset();
    if (folder.isEmpty()) return;
    // An output in the folder is asked about as one next to its input is:
    // the Overwrite Existing Files option and Yes or No to All answer too.
    outputFolder_.emplace(toCorePath(folder), [this](const std::string& existing) {
        return askOverwrite(existing, currentInput_,
                            platform::fillPlaceholders(app::text::kOverwriteQuestion, {existing}));
    });
}

bool DesktopShell::prepareOutputFolder() {
    if (!outputFolder_) return true;
    std::optional<std::string> problem = outputFolder_->prepare();
    if (!problem) return true;
    log_.appendReport(
        text::with(text::kOutputFolderNotUsable, QDir::toNativeSeparators(outputFolderPath_),
                   QString::fromLocal8Bit(problem->c_str())),
        app::ReportStyle::Normal);
    return false;
}

std::string DesktopShell::chooseOneFile(const app::FileChoice& choice) {
    QString chosen;
    callOnGuiThread([&] {
        chosen =
            host_.prompts().chooseOneFile(fromCoreText(choice.title), fromCoreText(choice.filter));
    });
    return toCorePath(chosen);
}

bool DesktopShell::askYesNo(const std::string& question) {
    bool yes = false;
    callOnGuiThread([&] { yes = host_.prompts().askYesNo(fromCoreText(question)); });
    return yes;
}

bool DesktopShell::askOverwrite(const std::string& existingOutput, const std::string& inputPath,
                                const std::string& question) {
    QString output = fromCorePath(existingOutput);
    QString text = fromCoreText(question);
    bool yes = false;
    if (isSourcePageOf(output, fromCorePath(inputPath))) {
        text = text::with(text::kSourcePageWarning, output) + QStringLiteral("\n\n") + text;
        callOnGuiThread([&] { yes = host_.prompts().askYesNo(text); });
        return yes;
    }
    if (host_.options().overwriteExistingFiles) return true;
    if (overwriteAll_) return *overwriteAll_;
    callOnGuiThread([&] {
        switch (host_.prompts().askOverwrite(text)) {
            case OverwriteAnswer::YesToAll:
                overwriteAll_ = true;
                [[fallthrough]];
            case OverwriteAnswer::Yes:
                yes = true;
                break;
            case OverwriteAnswer::NoToAll:
                overwriteAll_ = false;
                break;
            case OverwriteAnswer::No:
                break;
        }
    });
    return yes;
}

bool isSourcePageOf(const QString& output, const QString& rtfInput) {
    QFileInfo in(rtfInput);
    QFileInfo out(output);
    if (in.suffix().compare(QStringLiteral("rtf"), Qt::CaseInsensitive) != 0) return false;
    if (out.suffix().compare(QStringLiteral("rtf"), Qt::CaseInsensitive) == 0) return false;
    return in.absolutePath() == out.absolutePath() &&
           in.completeBaseName() == out.completeBaseName();
}

void DesktopShell::appendReport(const std::string& text, app::ReportStyle style) {
    // Report texts hold paths, which are the file system's bytes.
    QString line = fromCorePath(text);
    if (onBatchWorkerThread()) {
        callOnGuiThread([&] { log_.appendReport(line, style); });
        return;
    }
    log_.appendReport(line, style);
    // A batch on the window's own thread: the report grows while it runs and
    // input waits until it is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void DesktopShell::clearReport() {
    // A new log has nothing to lose; one opened from disk keeps its text.
    bool first = !groupEntered_;
    groupEntered_ = true;
    if (first) return;
    if (host_.options().clearLogOnlyWhenFilesChosen) {
        clearPending_ = true;
        return;
    }
    callOnGuiThread([this] { log_.clearReport(); });
}

void DesktopShell::openErrorLogs(const std::vector<std::string>& paths) {
    callOnGuiThread([&] { host_.openErrorLogs(fromCorePaths(paths)); });
}

bool DesktopShell::closeErrorLogViews(const std::vector<std::string>& logPaths) {
    QStringList views = fromCorePaths(logPaths);
    // With an output folder the logs written again are those in it.
    if (outputFolder_) {
        QDir folder(outputFolderPath_);
        for (const QString& path : fromCorePaths(logPaths)) {
            views << folder.filePath(QFileInfo(path).fileName());
        }
    }
    bool closed = false;
    callOnGuiThread([&] { closed = host_.closeErrorLogWindows(views); });
    return closed;
}

app::CodePageChoice DesktopShell::chooseCodePage(unsigned presetCodePage) {
    app::CodePageChoice choice;
    callOnGuiThread([&] {
        // The library shows its dialog through the presenter of
        // library_hooks.cpp.
        unsigned codePage = presetCodePage;
        const char* charset = gf_pszGetCodepageFromLanguageDialog(&codePage);
        if (charset == nullptr || codePage == 0) return;
        host_.rememberCodePage(codePage);
        choice = app::CodePageChoice{codePage, charset};
    });
    return choice;
}

void DesktopShell::fileStarting(const std::string& inputPath) {
    int number = ++fileNumber_;
    currentInput_ = inputPath;
    deliveryProblems_.clear();
    QString path = fromCorePath(inputPath);
    // The library's messages about an input the report already names as
    // empty or unreadable are kept for the report's code, not shown.
    inputCheck_ = checkInput(path);
    libraryMessages_.clear();
    if (!inputCheck_.fine() && !host_.options().showLibraryMessagesForUnreadableInputs) {
        setLibraryMessageCapture([this](const QString& message) { libraryMessages_ << message; });
    }
    callOnGuiThread([&] { host_.batchFileStarting(number, fileCount_, path); });
}

void DesktopShell::fileConverted(app::FileOutcome& outcome) {
    if (!inputCheck_.fine()) {
        setLibraryMessageCapture(nullptr);
        QString log = outcome.errorLogPath ? fromCorePath(*outcome.errorLogPath) : QString();
        QString note = inputProblemNote(fromCorePath(outcome.inputPath), inputCheck_,
                                        libraryCode(libraryMessages_, log, outcome.result));
        inputCheck_ = {};
        libraryMessages_.clear();
        appendReport(toCorePath(note), app::ReportStyle::Normal);
    }
    if (outputFolder_) deliverOutputs(outcome);
}

// The output and error log move into the folder (their paths in `outcome`
// with them, so that the log windows and the problems list open the moved
// log); what kept them from it goes into the report.
void DesktopShell::deliverOutputs(app::FileOutcome& outcome) {
    deliveryProblems_ = outputFolder_->takeOutputs(outcome, std::string());
    for (const std::string& problem : deliveryProblems_) {
        appendReport(problem + "\n", app::ReportStyle::Normal);
    }
    if (outcome.outputCreated) {
        appendReport(toCorePath(text::with(text::kWrittenToNote, fromCorePath(outcome.outputPath))),
                     app::ReportStyle::Normal);
    }
}

std::optional<std::string> DesktopShell::stagedInput(const std::string& inputPath) {
    if (!outputFolder_) return std::nullopt;
    return outputFolder_->stageInput(inputPath);
}

void DesktopShell::fileReported(const app::FileOutcome& outcome) {
    if (outputFolder_) outputFolder_->releaseStagedInput();
    if (!outcome.errorLogPath && deliveryProblems_.empty()) return;
    QStringList delivery;
    for (const std::string& problem : deliveryProblems_) delivery << fromCorePath(problem);
    deliveryProblems_.clear();
    problems_.push_back(
        BatchProblem{fromCorePath(outcome.inputPath), outcome.result,
                     outcome.errorLogPath ? fromCorePath(*outcome.errorLogPath) : QString(),
                     delivery.join(u' ')});
}

bool DesktopShell::stopRequested() {
    return host_.batchCancelRequested();
}

QList<BatchProblem> DesktopShell::takeProblems() {
    QList<BatchProblem> problems = std::move(problems_);
    problems_.clear();
    fileCount_ = 0;
    fileNumber_ = 0;
    return problems;
}

}  // namespace tessel::desktop
