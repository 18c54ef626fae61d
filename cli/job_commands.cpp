#include "job_commands.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <variant>

#include "core/batch_session.h"
#include "core/command_table.h"
#include "exit_codes.h"
#include "file_arguments.h"
#include "platform/terminal.h"
#include "terminal_shell.h"

namespace tessel::cli {

namespace {

struct JobArguments {
    std::optional<std::string> subcommand;
    std::vector<std::string> names;
    std::optional<std::string> extension;
    std::optional<std::string> tagFile;
    bool keepBackup = false;
    bool overwrite = false;
    bool help = false;
};

// The value of an option given as "--name VALUE" or "--name=VALUE".
std::optional<std::string> optionValue(const std::vector<std::string>& args, std::size_t& i,
                                       std::string_view name) {
    const std::string& arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size()) return std::nullopt;
        return args[++i];
    }
    return arg.substr(name.size() + 1);
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Reads the options and names; false (with a message) on a usage error.
bool parseJobArguments(const std::vector<std::string>& args, JobArguments& parsed,
                       std::ostream& err) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (!isOption) {
            if (!parsed.subcommand) {
                parsed.subcommand = arg;
            } else {
                parsed.names.push_back(arg);
            }
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            parsed.help = true;
        } else if (arg == "--overwrite") {
            parsed.overwrite = true;
        } else if (arg == "--keep-backup") {
            parsed.keepBackup = true;
        } else if (arg == "--ext" || startsWith(arg, "--ext=")) {
            parsed.extension = optionValue(args, i, "--ext");
            if (!parsed.extension || parsed.extension->empty() || *parsed.extension == ".") {
                err << "tessel: --ext needs an extension, such as \".txt\"\n";
                return false;
            }
            if (parsed.extension->find_first_of("/\\") != std::string::npos) {
                err << "tessel: --ext takes an extension, not a path: " << *parsed.extension
                    << "\n";
                return false;
            }
        } else if (arg == "--tag-file" || startsWith(arg, "--tag-file=")) {
            parsed.tagFile = optionValue(args, i, "--tag-file");
            if (!parsed.tagFile || parsed.tagFile->empty()) {
                err << "tessel: --tag-file needs the name of a tag file\n";
                return false;
            }
        } else {
            err << "tessel: unknown option " << arg << "\n";
            return false;
        }
    }
    return true;
}

void printFamilyHelp(std::string_view family, std::ostream& out) {
    out << "Usage: tessel " << family << " SUBCOMMAND [OPTIONS] FILE...\n\nSubcommands:\n";
    for (const app::Command& command : app::commandTable()) {
        if (command.family != family) continue;
        out << "  " << command.name;
        for (std::size_t pad = command.name.size(); pad < 14; ++pad) out << ' ';
        out << command.summary << "\n";
    }
    out << "\nRun \"tessel " << family << " SUBCOMMAND --help\" for its options.\n";
}

bool needsTagFile(const app::Command& command) {
    return command.tagFile == app::TagFileRole::Required ||
           command.tagFile == app::TagFileRole::Collected;
}

std::string_view tagFileUsage(app::TagFileRole role) {
    switch (role) {
        case app::TagFileRole::None:
            return "";
        case app::TagFileRole::Optional:
            return " [--tag-file FILE]";
        case app::TagFileRole::Required:
        case app::TagFileRole::Collected:
            return " --tag-file FILE";
    }
    return "";
}

void printTagFileOption(app::TagFileRole role, std::ostream& out) {
    switch (role) {
        case app::TagFileRole::None:
            return;
        case app::TagFileRole::Optional:
            out << "  --tag-file FILE classify tags by this HTML tag definition file first\n"
                   "                  (lines of NAME<tab>CLASS[<tab>\" ATTRIBUTE=\"])\n";
            return;
        case app::TagFileRole::Required:
            out << "  --tag-file FILE the SGML tag file (required): the tags it lists become\n"
                   "                  external runs, all other tags internal runs\n";
            return;
        case app::TagFileRole::Collected:
            out << "  --tag-file FILE the SGML tag file the tags are added to (required;\n"
                   "                  created when missing), one tag per line in byte order\n";
            return;
    }
}

void printCommandHelp(const app::Command& command, std::ostream& out) {
    bool inPlace = app::convertsInPlaceWithoutExtension(command.exportBinding);
    out << "Usage: tessel " << command.family << " " << command.name
        << (inPlace ? " [--ext EXT] [--keep-backup]" : "") << tagFileUsage(command.tagFile)
        << " [--overwrite] FILE...\n\n"
        << "Converts each FILE: " << command.summary << ".\n";
    if (inPlace) {
        out << "Without --ext the file is converted in place; the original is kept under a\n"
               "backup name (.OLD, .001, ...) until the conversion has succeeded.\n";
    } else if (command.tagFile == app::TagFileRole::Collected) {
        out << "The tag file is rewritten only when a tag is new to it, and replaced in one\n"
               "step, so that a failure never loses it. Edit it down to the tags that are\n"
               "external (between translatable units) and mark up with \"tessel markup sgml\".\n";
    } else {
        out << "The output is written next to each file with the extension \""
            << command.outputExtension << "\".\n";
    }
    out << "\nOptions:\n";
    if (inPlace) {
        out << "  --ext EXT       write the output to a new file with extension EXT\n"
               "  --keep-backup   keep the backup of a file converted in place\n";
    }
    printTagFileOption(command.tagFile, out);
    out << "  --overwrite     replace existing output files without asking\n"
           "  --help          show this help\n\n"
           "Exit status: 0 when every file was converted, 1 when a file failed, 2 for\n"
           "usage errors. An error log (.ERR/.err) is written next to a file with problems.\n";
}

app::RunSettings settingsFor(const app::Command& command, const JobArguments& parsed) {
    app::RunSettings settings;
    settings.outputExtension = parsed.extension;
    settings.deleteBackup = !parsed.keepBackup;
    if (app::takesTagFile(command)) {
        settings.tagFileAsked = true;
        settings.tagFilePath = parsed.tagFile.value_or("");
    }
    return settings;
}

bool allSucceeded(const std::vector<app::FileOutcome>& outcomes) {
    for (const app::FileOutcome& outcome : outcomes) {
        if (outcome.result < 0) return false;
    }
    return true;
}

int runJob(const app::Command& command, const JobArguments& parsed, std::ostream& out,
           std::ostream& err) {
    FileArguments files = collectFiles(parsed.names, err);
    if (files.files.empty()) return kExitFailure;
    TerminalShell shell(files.files, out, err, std::cin, platform::standardInputIsTerminal());
    app::BatchSession session(shell, app::BatchOptions{parsed.overwrite});
    std::vector<app::FileOutcome> outcomes =
        session.runCommand(command, settingsFor(command, parsed));
    out.flush();
    return allSucceeded(outcomes) && !files.refusedSome ? kExitSuccess : kExitFailure;
}

}  // namespace

int jobFamilyCommand(std::string_view family, const std::vector<std::string>& args,
                     std::ostream& out, std::ostream& err) {
    JobArguments parsed;
    if (!parseJobArguments(args, parsed, err)) return kExitUsageError;
    if (!parsed.subcommand) {
        if (parsed.help) {
            printFamilyHelp(family, out);
            return kExitSuccess;
        }
        err << "tessel: " << family << ": missing subcommand\n";
        printFamilyHelp(family, err);
        return kExitUsageError;
    }
    const app::Command* command = app::findCommand(family, *parsed.subcommand);
    if (!command) {
        err << "tessel: " << family << ": unknown subcommand \"" << *parsed.subcommand << "\"\n";
        printFamilyHelp(family, err);
        return kExitUsageError;
    }
    if (parsed.help) {
        printCommandHelp(*command, out);
        return kExitSuccess;
    }
    bool inPlace = app::convertsInPlaceWithoutExtension(command->exportBinding);
    if (!inPlace && (parsed.extension || parsed.keepBackup)) {
        err << "tessel: " << family << " " << command->name
            << ": --ext and --keep-backup apply to text jobs only\n";
        return kExitUsageError;
    }
    if (parsed.tagFile && !app::takesTagFile(*command)) {
        err << "tessel: " << family << " " << command->name
            << ": --tag-file applies to HTML and SGML mark-up and SGML tag collection only\n";
        return kExitUsageError;
    }
    if (!parsed.tagFile && needsTagFile(*command)) {
        err << "tessel: " << family << " " << command->name
            << ": --tag-file FILE is required (the SGML tag file)\n";
        return kExitUsageError;
    }
    // A tag file to collect into may be new; one to read must be there.
    bool mayBeNew = command->tagFile == app::TagFileRole::Collected &&
                    !std::filesystem::exists(*parsed.tagFile);
    if (parsed.tagFile && !mayBeNew && !std::filesystem::is_regular_file(*parsed.tagFile)) {
        err << "tessel: " << family << " " << command->name
            << ": tag file not found: " << *parsed.tagFile << "\n";
        return kExitUsageError;
    }
    if (parsed.names.empty()) {
        err << "tessel: " << family << " " << command->name << ": no files given\n"
            << "Run \"tessel " << family << " " << command->name << " --help\" for usage.\n";
        return kExitUsageError;
    }
    return runJob(*command, parsed, out, err);
}

}  // namespace tessel::cli
