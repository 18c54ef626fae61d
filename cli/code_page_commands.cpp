#include "code_page_commands.h"

#include <iomanip>
#include <ostream>

#include "exit_codes.h"
#include "markup/code_page_charset.h"
#include "markup/language_list.h"
#include "resources/code_page_names.h"
#include "usage_error.h"

namespace tessel::cli {
namespace {

constexpr const char* kHelp =
    "Usage: tessel codepages\n"
    "  -h, --help  show this help\n"
    "\n"
    "Lists the languages of the language dialog in its order, each with its\n"
    "code page and the charset name a multilingual HTML file then declares,\n"
    "and after them every code page that has a charset name.\n";

std::string charsetOf(unsigned codePage) {
    std::string name;
    return markup::charsetNameForCodePage(codePage, name) ? name : "-";
}

void printLanguages(std::ostream& out) {
    out << std::left << std::setw(50) << "Language" << std::right << std::setw(10) << "Code page"
        << "  Charset\n";
    markup::LanguageList list = markup::buildLanguageList(markup::builtInLocales(), std::nullopt);
    for (const markup::LanguageEntry& entry : list.entries) {
        out << std::left << std::setw(50) << entry.name << std::right << std::setw(10)
            << entry.codePage << "  " << charsetOf(entry.codePage) << "\n";
    }
}

void printCodePages(std::ostream& out) {
    out << "\n"
        << std::setw(10) << "Code page"
        << "  Charset\n";
    for (const resources::CodePageName& entry : resources::codePageNames()) {
        out << std::setw(10) << entry.codePage << "  " << charsetOf(entry.codePage) << "\n";
    }
}

}  // namespace

int codePagesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kHelp;
            return kExitSuccess;
        }
        return usageError(err, "codepages: unexpected argument " + arg, "tessel codepages");
    }
    printLanguages(out);
    printCodePages(out);
    return kExitSuccess;
}

}  // namespace tessel::cli
