#include "help_lines.h"

#include <sstream>

namespace tessel::cli::testing {

std::vector<std::string> tableNames(const std::string& help, const std::string& heading) {
    std::vector<std::string> names;
    std::size_t at = help.find(heading + "\n");
    if (at == std::string::npos) return names;
    std::istringstream lines(help.substr(at + heading.size() + 1));
    std::string line;
    while (std::getline(lines, line) && line.rfind("  ", 0) == 0) {
        // Wrapped descriptions continue on lines of blanks first.
        if (line[2] != ' ') names.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
    return names;
}

std::vector<HelpOption> optionsIn(const std::string& help) {
    std::vector<HelpOption> options;
    std::istringstream lines(help);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("  -", 0) != 0) continue;
        HelpOption option;
        std::size_t at = 2;
        // "-o, --output-dir DIR": names separated by ", ", then one blank and
        // the value, or two blanks (or the line's end) and the description.
        while (at < line.size() && line[at] == '-') {
            std::size_t end = line.find_first_of(" ,", at);
            if (end == std::string::npos) end = line.size();
            option.names.push_back(line.substr(at, end - at));
            at = end;
            if (line.compare(at, 2, ", ") == 0) at += 2;
        }
        if (at + 1 < line.size() && line[at] == ' ' && line[at + 1] != ' ') {
            std::size_t end = line.find(' ', at + 1);
            option.value = line.substr(at + 1, end == std::string::npos ? end : end - at - 1);
        }
        if (option.names.size() == 1 && option.names[0] == "--") continue;
        options.push_back(option);
    }
    return options;
}

}  // namespace tessel::cli::testing
