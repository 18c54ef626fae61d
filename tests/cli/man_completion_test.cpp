// The manual page and the bash completion against the command table: the
// page has a section for every command, and the completion offers every
// command, subcommand and option of the help.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>

#include "core/command_table.h"
#include "help_lines.h"
#include "tool_runner.h"

namespace tessel::cli::testing {
namespace {

// The conversion families of the table and the tool's other commands.
// (Not used on Windows, which has no manual page and no bash.)
[[maybe_unused]] std::vector<std::string> topLevelCommands() {
    return tableNames(runTool({"--help"}).out, "Commands:");
}

#ifdef TESSEL_MAN_PAGE
TEST(ManPage, HasASectionForEveryCommandAndTheToolsExitStatus) {
    const std::string page = readFile(TESSEL_MAN_PAGE);
    ASSERT_FALSE(page.empty());
    auto has = [&](const std::string& part) { return page.find(part) != std::string::npos; };
    std::vector<std::string> commands = topLevelCommands();
    ASSERT_GE(commands.size(), 9u);
    for (const std::string& command : commands) {
        EXPECT_TRUE(has(".SS \"tessel " + command + "\"\n")) << command;
    }
    for (const app::Command& row : app::commandTable()) {
        std::string name = std::string(row.family) + " " + std::string(row.name);
        EXPECT_TRUE(has(".SS \"tessel " + name + "\"\n")) << name;
    }
    for (const char* section : {".SH COMMANDS", ".SH \"EXIT STATUS\"", ".SH ENVIRONMENT",
                                ".SH EXAMPLES", "TESSEL_ACP", "SOURCE_DATE_EPOCH"}) {
        EXPECT_TRUE(has(section)) << section;
    }
    // The help's backslashes are shown as such, not read as roff escapes.
    EXPECT_TRUE(has("written as \\e\\e \\et \\er \\en")) << "tokens help";
}
#endif

#ifndef _WIN32
// COMPREPLY of the completion function for the words typed so far (the last
// one the word completed), one entry a line.
std::vector<std::string> completions(std::vector<std::string> words) {
    std::string script = "source '" TESSEL_COMPLETION_SCRIPT "'; COMP_WORDS=(";
    words.insert(words.begin(), TESSEL_TOOL_PATH);
    for (const std::string& word : words) script += "'" + word + "' ";
    script += "); COMP_CWORD=" + std::to_string(words.size() - 1) +
              "; _tessel; printf '%s\\n' \"${COMPREPLY[@]}\"";
    ScratchFolder folder;
    writeFile(folder.path("complete.sh"), script + "\n");
    FILE* pipe =
        ::popen(("bash --norc --noprofile '" + folder.path("complete.sh") + "'").c_str(), "r");
    std::vector<std::string> lines;
    if (pipe == nullptr) return lines;
    char buffer[512];
    std::string text;
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) text += buffer;
    EXPECT_EQ(::pclose(pipe), 0) << script;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

std::set<std::string> asSet(const std::vector<std::string>& items) {
    return {items.begin(), items.end()};
}

TEST(BashCompletion, CompletesCommandsFormatsAndOptions) {
    EXPECT_EQ(completions({"mar"}), std::vector<std::string>{"markup"});
    EXPECT_EQ(asSet(completions({"back", "html-"})),
              (std::set<std::string>{"html-multilingual", "html-compatible"}));
    std::set<std::string> backHtml = asSet(completions({"back", "html", "--"}));
    for (const char* option : {"--codepage", "--original-dir", "--no-check", "--output-dir"}) {
        EXPECT_TRUE(backHtml.count(option)) << option;
    }
    EXPECT_FALSE(backHtml.count("--tag-file"));
    EXPECT_FALSE(backHtml.count("--"));
    EXPECT_EQ(completions({"markup", "html", "--report", ""}), std::vector<std::string>{"json"});
    EXPECT_EQ(asSet(completions({"verify", "--s"})), std::set<std::string>{"--strict"});
    EXPECT_EQ(asSet(completions({"--ver"})), std::set<std::string>{"--version"});
}

TEST(BashCompletion, OffersEveryCommandOfTheTable) {
    std::set<std::string> commands = asSet(completions({""}));
    EXPECT_EQ(commands, asSet(topLevelCommands()));
    std::set<std::string> families;
    for (const app::Command& row : app::commandTable()) families.insert(std::string(row.family));
    for (const std::string& family : families) {
        EXPECT_TRUE(commands.count(family)) << family;
        std::set<std::string> offered = asSet(completions({family, ""}));
        std::set<std::string> expected;
        for (const app::Command& row : app::commandTable()) {
            if (row.family == family) expected.insert(std::string(row.name));
        }
        EXPECT_EQ(offered, expected) << family;
    }
    // And the options of a command are those of its help.
    std::set<std::string> inHelp;
    for (const HelpOption& option : optionsIn(runTool({"sgml", "collect-tags", "--help"}).out)) {
        inHelp.insert(option.names.begin(), option.names.end());
    }
    EXPECT_EQ(asSet(completions({"sgml", "collect-tags", "-"})), inHelp);
}
#endif

}  // namespace
}  // namespace tessel::cli::testing
