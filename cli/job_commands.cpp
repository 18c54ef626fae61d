#include "job_commands.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <variant>

#include "core/batch_session.h"
#include "core/command_table.h"
#include "core/shipped_tag_file.h"
#include "core/xliff_jobs.h"
#include "exit_codes.h"
#include "file_arguments.h"
#include "help_table.h"
#include "job_arguments.h"
#include "job_workers.h"
#include "piped_job.h"
#include "platform/files.h"
#include "platform/terminal.h"
#include "terminal_shell.h"
#include "tessel_cat.h"
#include "tool_texts.h"
#include "usage_error.h"

namespace tessel::cli {

namespace {

void printFamilyHelp(std::string_view family, std::ostream& out) {
    std::vector<HelpRow> rows;
    for (const app::Command& command : app::commandTable()) {
        if (command.family == family) rows.emplace_back(command.name, command.summary);
    }
    out << fill(text::kFamilyUsage, {family});
    printHelpTable(out, rows);
    out << fill(text::kFamilyFooter, {family});
}

// These back-conversions take --codepage alone: the code page they write
// where the document declares no encoding of its own (HTML and SGML without
// a META or XML declaration or byte-order mark keep today's Windows 1252
// entities without it).
constexpr std::string_view kTargetCodePageBackCommands[] = {
    "pagemaker", "quark", "ventura4", "text", "html", "html-compatible", "sgml"};

// The merges write through the back-conversions, and take their code page.
bool takesTargetCodePage(const app::Command& command) {
    if (command.family == "merge") return command.name != "ventura";
    return command.family == "back" &&
           std::find(std::begin(kTargetCodePageBackCommands), std::end(kTargetCodePageBackCommands),
                     command.name) != std::end(kTargetCodePageBackCommands);
}

bool isTargetCodePage(unsigned codePage) {
    return std::find(std::begin(text::kTargetCodePages), std::end(text::kTargetCodePages),
                     codePage) != std::end(text::kTargetCodePages);
}

bool needsTagFile(const app::Command& command) {
    return command.tagFile == app::TagFileRole::Required ||
           command.tagFile == app::TagFileRole::Collected;
}

std::string_view requiredOptionsUsage(const app::Command& command) {
    if (app::takesCodePage(command)) return " --codepage CP";
    switch (command.tagFile) {
        case app::TagFileRole::None:
        case app::TagFileRole::Optional:
            return "";
        case app::TagFileRole::Required:
        case app::TagFileRole::Collected:
            return " --tag-file FILE";
    }
    return "";
}

std::string_view tagFileOption(app::TagFileRole role) {
    switch (role) {
        case app::TagFileRole::None:
            return "";
        case app::TagFileRole::Optional:
            return text::kHtmlTagFileOption;
        case app::TagFileRole::Required:
            return text::kSgmlTagFileOption;
        case app::TagFileRole::Collected:
            return text::kCollectTagFileOption;
    }
    return "";
}

// The tag collection's output is its tag file: it writes nothing to move.
bool takesOutputFolder(const app::Command& command) {
    return command.tagFile != app::TagFileRole::Collected;
}

bool takesEncoding(const app::Command& command) {
    return command.family == "markup" || command.family == "extract" || command.family == "merge";
}

// The extension the output gets on disk: the library's own case where it
// differs from the table's.
std::string_view writtenExtension(const app::Command& command) {
    return command.writtenExtension.empty() ? command.outputExtension : command.writtenExtension;
}

std::string patternsOf(const app::Command& command) {
    std::string joined;
    for (const std::string& pattern : app::filterPatterns(command.fileFilter)) {
        joined += (joined.empty() ? "" : " ") + pattern;
    }
    return joined;
}

std::string commandPath(const app::Command& command) {
    return "tessel " + std::string(command.family) + " " + std::string(command.name);
}

void printCommandHelp(const app::Command& command, std::ostream& out) {
    bool inPlace = app::convertsInPlaceWithoutExtension(command.exportBinding);
    out << fill(text::kCommandUsage, {std::string(command.family) + " " + std::string(command.name),
                                      requiredOptionsUsage(command)})
        << wrapText(fill(text::kConvertsEach, {command.summary}), 0, 0) << "\n";
    if (inPlace) {
        out << text::kInPlaceNote;
    } else if (command.tagFile == app::TagFileRole::Collected) {
        out << text::kCollectNote;
    } else if (command.family == "merge") {
        out << fill(text::kMergeBesideNote, {writtenExtension(command)});
    } else {
        out << fill(text::kOutputBesideNote, {writtenExtension(command)});
    }
    out << "\nOptions:\n";
    if (inPlace) out << text::kInPlaceOptions;
    if (app::takesCodePage(command)) out << text::kCodePageOptions;
    if (takesTargetCodePage(command)) out << text::kTargetCodePageOption;
    if (takesEncoding(command)) out << text::kEncodingOption;
    if (command.family == "extract") out << text::kXliffOptions;
    if (command.family == "back") out << text::kBackCheckOptions;
    out << tagFileOption(command.tagFile);
    if (takesOutputFolder(command)) out << text::kOutputDirOption;
    out << fill(text::kBatchOptions, {patternsOf(command)}) << text::kExitStatusHelp;
}

app::RunSettings settingsFor(const app::Command& command, const JobArguments& parsed) {
    app::RunSettings settings;
    settings.outputExtension = parsed.extension;
    settings.deleteBackup = !parsed.keepBackup;
    if (app::takesTagFile(command)) {
        settings.tagFileAsked = true;
        settings.tagFilePath = app::takesShippedTagFile(command)
                                   ? app::tagFileToRead(parsed.tagFile)
                                   : parsed.tagFile.value_or("");
    }
    if (command.family == "back") {
        settings.backChecks.enabled = !parsed.noCheck;
        settings.backChecks.originalFile = parsed.original.value_or("");
        settings.backChecks.originalFolder = parsed.originalFolder.value_or("");
    }
    return settings;
}

FileSelection selectionFor(const app::Command& command, const JobArguments& parsed) {
    FileSelection selection;
    selection.recursive = parsed.recursive;
    selection.patterns =
        parsed.includes.empty() ? app::filterPatterns(command.fileFilter) : parsed.includes;
    return selection;
}

app::XliffSettings xliffSettingsFor(const JobArguments& parsed) {
    app::XliffSettings settings;
    if (parsed.xliffVersion == "2.1") settings.version = xliff::XliffVersion::V2_1;
    if (parsed.sourceLanguage) settings.sourceLanguage = *parsed.sourceLanguage;
    if (parsed.targetLanguage) settings.targetLanguage = *parsed.targetLanguage;
    return settings;
}

ShellSettings shellSettingsFor(const JobArguments& parsed) {
    return ShellSettings{
        parsed.quiet,
        parsed.jsonReport,
        parsed.outputFolder,
        parsed.overwrite,
        app::CodePageChoice{parsed.codePage.value_or(0), parsed.charset.value_or("")},
        parsed.chooseLanguage};
}

// With an output folder the outputs are moved there, and the tool asks
// about the files in it; a file next to the input is never replaced.
app::BatchOptions batchOptionsFor(const JobArguments& parsed) {
    return app::BatchOptions{parsed.overwrite && !parsed.outputFolder,
                             parsed.outputFolder.has_value()};
}

// The worker processes a batch runs in; 1: this one. A tag collection
// writes every file's tags into one tag file, and the language dialog asks
// at the terminal: those run here.
std::size_t workerCount(const app::Command& command, const JobArguments& parsed,
                        std::size_t files) {
    if (command.tagFile == app::TagFileRole::Collected || parsed.chooseLanguage) return 1;
    std::size_t jobs = parsed.jobs == 0 ? processorCount() : parsed.jobs;
    return std::max<std::size_t>(1, std::min(jobs, files));
}

int runJob(const app::Command& command, const JobArguments& parsed, std::ostream& out,
           std::ostream& err) {
    FileArguments files = collectFiles(parsed.names, selectionFor(command, parsed), err);
    ShellStreams streams{out, err, std::cin, platform::standardInputIsTerminal(),
                         platform::standardErrorIsTerminal()};
    const bool anyFile = !files.files.empty();
    const std::size_t workers = workerCount(command, parsed, files.files.size());
    std::vector<BatchFile> batch = files.files;
    TerminalShell shell(std::move(files.files), streams, shellSettingsFor(parsed));
    shell.tally().refusedArguments = files.refusedSome;
    if (!shell.prepareOutputFolder()) return kExitFailure;
    if (takesTargetCodePage(command)) f_iSetTargetCodePage(parsed.codePage.value_or(0));
    app::setXliffSettings(xliffSettingsFor(parsed));
    std::unique_ptr<WorkerPool> pool;
    if (workers > 1) pool = WorkerPool::start(parsed.commandLine, batch, workers);
    if (pool) {
        shell.takeRecordsFrom([&pool](std::size_t index) { return pool->recordOf(index); });
    }
    app::BatchSession session(shell, batchOptionsFor(parsed));
    if (anyFile) session.runCommand(command, settingsFor(command, parsed));
    pool.reset();
    shell.finish();
    return shell.tally().exitStatus();
}

// A worker of a run with -j: the files its standard input names, converted
// as the serial run converts them; what it would write about each file goes
// as a record to standard output, the rest (the heading, the summary) is
// the starting process's to write. It never asks: standard input is not a
// terminal.
int runAsWorker(const app::Command& command, const JobArguments& parsed) {
    std::vector<AssignedFile> assigned = readAssignedFiles();
    std::vector<BatchFile> files;
    for (const AssignedFile& file : assigned) files.push_back(file.file);
    std::ostringstream out;
    std::ostringstream err;
    TerminalShell shell(std::move(files), ShellStreams{out, err, std::cin, false, false},
                        shellSettingsFor(parsed));
    std::size_t next = 0;
    bool sending = true;
    shell.setFileHooks(
        TerminalShell::FileHooks{[&] {
                                     out.str("");
                                     err.str("");
                                 },
                                 [&](const app::FileOutcome& outcome, FileStatus status) {
                                     FileRecord record{assigned.at(next++).index,
                                                       status,
                                                       outcome.countedRead,
                                                       outcome.outputCreated,
                                                       outcome.errorLogPath,
                                                       out.str(),
                                                       err.str()};
                                     sending = sending && sendRecord(record);
                                     out.str("");
                                     err.str("");
                                 }});
    if (assigned.empty()) return kExitSuccess;
    if (!shell.prepareOutputFolder()) return kExitFailure;
    if (takesTargetCodePage(command)) f_iSetTargetCodePage(parsed.codePage.value_or(0));
    app::setXliffSettings(xliffSettingsFor(parsed));
    app::BatchSession session(shell, batchOptionsFor(parsed));
    session.runCommand(command, settingsFor(command, parsed));
    return sending ? kExitSuccess : kExitFailure;
}

// "-": the job on a copy of standard input; the converted file goes to
// standard output, the report and the error log to standard error.
int runPipedJob(const app::Command& command, JobArguments parsed, std::ostream& out,
                std::ostream& err) {
    platform::useBinaryStandardStreams();
    std::vector<std::string> patterns = app::filterPatterns(command.fileFilter);
    // The first extension of the format's file choice, without wildcards
    // ("*.htm*" gives ".htm").
    std::string extension;
    if (!patterns.empty() && patterns.front().starts_with("*.")) {
        extension = patterns.front().substr(1);
        extension = extension.substr(0, extension.find_first_of("*?"));
    }
    std::string problem;
    std::optional<PipedInput> input = PipedInput::fromStandardInput(std::cin, extension, problem);
    if (!input) {
        err << fill(text::kStandardInputNotCopied, {problem});
        return kExitFailure;
    }
    parsed.names = {input->path()};
    const int status = runJob(command, parsed, err, err);
    if (!input->deliver(out, err, app::convertsInPlaceWithoutExtension(command.exportBinding))) {
        err << text::kPipedOutputNotRead;
        return kExitFailure;
    }
    return status;
}

// The usage problem of the tag-check options, if any.
std::optional<std::string> backCheckProblem(const app::Command& command,
                                            const JobArguments& parsed) {
    std::string name = std::string(command.family) + " " + std::string(command.name);
    bool comparing = parsed.original || parsed.originalFolder;
    if (command.family != "back") {
        if (comparing || parsed.noCheck) return fill(text::kBackCheckNotTaken, {name});
        return std::nullopt;
    }
    if (parsed.original && parsed.originalFolder) return fill(text::kOriginalOrFolder, {name});
    if (comparing && parsed.noCheck) return fill(text::kOriginalWithoutChecks, {name});
    std::error_code error;
    if (parsed.original) {
        if (parsed.names.size() != 1 || std::filesystem::is_directory(parsed.names[0], error)) {
            return fill(text::kOriginalOneInput, {name});
        }
        if (!std::filesystem::is_regular_file(*parsed.original, error)) {
            return fill(text::kOriginalNotFound, {name, *parsed.original});
        }
    }
    if (parsed.originalFolder && !std::filesystem::is_directory(*parsed.originalFolder, error)) {
        return fill(text::kOriginalFolderNotFound, {name, *parsed.originalFolder});
    }
    return std::nullopt;
}

// The usage problem of a command's options, if any.
std::optional<std::string> commandProblem(const app::Command& command, const JobArguments& parsed) {
    std::string name = std::string(command.family) + " " + std::string(command.name);
    bool inPlace = app::convertsInPlaceWithoutExtension(command.exportBinding);
    if (!inPlace && (parsed.extension || parsed.keepBackup)) {
        return fill(text::kTextJobOptionsOnly, {name});
    }
    if (parsed.tagFile && !app::takesTagFile(command)) return fill(text::kTagFileNotTaken, {name});
    if (!parsed.tagFile && needsTagFile(command)) return fill(text::kTagFileRequired, {name});
    // A tag file to collect into may be new; one to read must be there.
    bool mayBeNew =
        command.tagFile == app::TagFileRole::Collected && !std::filesystem::exists(*parsed.tagFile);
    bool builtInAlone = app::takesShippedTagFile(command) && parsed.tagFile == app::kNoTagFileName;
    if (parsed.tagFile && !mayBeNew && !builtInAlone &&
        !std::filesystem::is_regular_file(*parsed.tagFile)) {
        return fill(text::kTagFileNotFound, {name, *parsed.tagFile});
    }
    if (parsed.outputFolder && inPlace && !parsed.extension) {
        return fill(text::kOutputDirNeedsExt, {name});
    }
    if (parsed.outputFolder && !takesOutputFolder(command)) {
        return fill(text::kOutputDirNotTaken, {name});
    }
    if (!parsed.includes.empty() && !parsed.recursive) return text::kIncludeNeedsRecursive;
    if (app::takesCodePage(command) && !parsed.codePage && !parsed.chooseLanguage) {
        return fill(text::kCodePageRequired, {name});
    }
    if (parsed.codePage && parsed.chooseLanguage) return fill(text::kCodePageOrChoose, {name});
    if (takesTargetCodePage(command)) {
        if (parsed.charset || parsed.chooseLanguage) return fill(text::kTargetCodePageOnly, {name});
        if (parsed.codePage && !isTargetCodePage(*parsed.codePage)) {
            return fill(text::kTargetCodePageUnknown, {name, std::to_string(*parsed.codePage)});
        }
    } else if (!app::takesCodePage(command) &&
               (parsed.codePage || parsed.charset || parsed.chooseLanguage)) {
        return fill(text::kCodePageNotTaken, {name});
    }
    if (parsed.encoding && !takesEncoding(command)) return fill(text::kEncodingNotTaken, {name});
    if ((parsed.xliffVersion || parsed.sourceLanguage || parsed.targetLanguage) &&
        command.family != "extract") {
        return fill(text::kXliffOptionsNotTaken, {name});
    }
    // The library keeps the choice for the jobs of this run; a name it does
    // not read is refused before any file is converted.
    if (parsed.encoding && f_iSetSourceEncoding(parsed.encoding->c_str()) != 0) {
        return fill(text::kUnknownEncoding, {name, *parsed.encoding});
    }
    if (parsed.names.empty()) return fill(text::kNoFilesGiven, {name});
    if (parsed.outputFolder == "-") return fill(text::kOutputDirIsStandardOutput, {name});
    const bool piped =
        std::find(parsed.names.begin(), parsed.names.end(), "-") != parsed.names.end();
    if (piped && parsed.names.size() != 1) return fill(text::kStandardInputAlone, {name});
    if (piped && command.family == "merge") return fill(text::kMergeNotPiped, {name});
    if (piped && parsed.outputFolder) return fill(text::kStandardInputWithOutputFolder, {name});
    if (std::optional<std::string> problem = backCheckProblem(command, parsed)) return problem;
    return std::nullopt;
}

}  // namespace

int jobFamilyCommand(std::string_view family, const std::vector<std::string>& args,
                     std::ostream& out, std::ostream& err) {
    JobArguments parsed;
    parsed.commandLine.emplace_back(family);
    parsed.commandLine.insert(parsed.commandLine.end(), args.begin(), args.end());
    const std::string familyPath = "tessel " + std::string(family);
    if (std::optional<std::string> problem = parseJobArguments(args, parsed)) {
        const app::Command* command =
            parsed.subcommand ? app::findCommand(family, *parsed.subcommand) : nullptr;
        return usageError(err, *problem, command ? commandPath(*command) : familyPath);
    }
    if (!parsed.subcommand) {
        if (parsed.help) {
            printFamilyHelp(family, out);
            return kExitSuccess;
        }
        return usageError(err, fill(text::kMissingSubcommand, {family}), familyPath);
    }
    const app::Command* command = app::findCommand(family, *parsed.subcommand);
    if (!command) {
        return usageError(err, fill(text::kUnknownSubcommand, {family, *parsed.subcommand}),
                          familyPath);
    }
    if (parsed.help) {
        printCommandHelp(*command, out);
        return kExitSuccess;
    }
    if (std::optional<std::string> problem = commandProblem(*command, parsed)) {
        return usageError(err, *problem, commandPath(*command));
    }
    if (parsed.names == std::vector<std::string>{"-"})
        return runPipedJob(*command, parsed, out, err);
    if (inWorkerProcess()) return runAsWorker(*command, parsed);
    return runJob(*command, parsed, out, err);
}

}  // namespace tessel::cli
