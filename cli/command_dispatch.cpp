#include "command_dispatch.h"

#include <algorithm>
#include <array>
#include <ostream>

#include "check_commands.h"
#include "code_page_commands.h"
#include "exit_codes.h"
#include "grammar_commands.h"
#include "help_table.h"
#include "job_commands.h"
#include "tessel_cat.h"
#include "tool_texts.h"
#include "usage_error.h"

namespace tessel::cli {

namespace {

int textCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return jobFamilyCommand("text", args, out, err);
}

int markupCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return jobFamilyCommand("markup", args, out, err);
}

int sgmlCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return jobFamilyCommand("sgml", args, out, err);
}

int extractCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return jobFamilyCommand("extract", args, out, err);
}

int mergeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return jobFamilyCommand("merge", args, out, err);
}

int backCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return jobFamilyCommand("back", args, out, err);
}

const std::array kCliCommands = {
    CliCommand{"text", "line-by-line text jobs: Macintosh/ANSI characters, line breaks", true,
               textCommand},
    CliCommand{"markup",
               "mark up tagged files as RTF for translation: HTML, SGML, PageMaker, "
               "QuarkXPress, Ventura 4, Ventura 5 and later",
               true, markupCommand},
    CliCommand{"sgml", "SGML tag files: collect the distinct tags of files, extract tags", true,
               sgmlCommand},
    CliCommand{"back",
               "RTF back to tagged text: HTML (named entities, multilingual, compatible), "
               "SGML, PageMaker, QuarkXPress, Ventura 4, Ventura 5 and later text",
               true, backCommand},
    CliCommand{"extract",
               "the text of tagged files as XLIFF 1.2 or 2.1 for translation tools: HTML, "
               "SGML, PageMaker, QuarkXPress, Ventura 4, Ventura 5 and later",
               true, extractCommand},
    CliCommand{"merge", "translated XLIFF back into the tagged files it was extracted from", true,
               mergeCommand},
    CliCommand{"tokens", "grammar diagnostics: the tokens of a file", false, tokensCommand},
    CliCommand{"parse", "grammar diagnostics: the reductions and syntax errors of a file", false,
               parseCommand},
    CliCommand{"codepages", "languages with their code pages and charset names", false,
               codePagesCommand},
    CliCommand{"verify", "check a translated RTF file against its source before converting back",
               false, verifyCommand},
    CliCommand{"roundtrip", "mark up and convert back untranslated, and explain the differences",
               false, roundtripCommand},
};

const CliCommand* findCliCommand(std::string_view name) {
    for (const CliCommand& command : kCliCommands) {
        if (command.name == name) return &command;
    }
    return nullptr;
}

void printHelp(std::ostream& out) {
    std::vector<HelpRow> rows;
    for (const CliCommand& command : kCliCommands) rows.emplace_back(command.name, command.summary);
    out << text::kTopUsage;
    printHelpTable(out, rows);
    out << text::kTopOptions;
}

}  // namespace

std::span<const CliCommand> cliCommands() {
    return kCliCommands;
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool overwrite = false;
    std::size_t i = 0;
    for (; i < args.size() && args[i].size() > 1 && args[i][0] == '-'; ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            printHelp(out);
            return kExitSuccess;
        }
        if (option == "--version") {
            out << fill(text::kVersion, {TESSEL_VERSION, f_pszDLLName(), f_pszDLLVersion()});
            return kExitSuccess;
        }
        if (option == "--overwrite") {
            overwrite = true;
            continue;
        }
        return usageError(err, fill(text::kUnknownOption, {option}), "tessel");
    }
    if (i == args.size()) return usageError(err, text::kMissingCommand, "tessel");
    const CliCommand* command = findCliCommand(args[i]);
    if (!command) return usageError(err, fill(text::kUnknownCommand, {args[i]}), "tessel");
    if (overwrite && !command->takesOverwrite) {
        return usageError(err, fill(text::kNoOverwrite, {command->name}),
                          "tessel " + std::string(command->name));
    }
    std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    if (overwrite) rest.insert(rest.begin(), "--overwrite");
    return command->run(rest, out, err);
}

}  // namespace tessel::cli
