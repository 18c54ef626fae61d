#include "terminal_shell.h"

#include <istream>
#include <ostream>

namespace tessel::cli {

TerminalShell::TerminalShell(std::vector<std::string> files, std::ostream& out, std::ostream& err,
                             std::istream& in, bool interactive)
    : files_(std::move(files)), out_(out), err_(err), in_(in), interactive_(interactive) {}

std::vector<std::string> TerminalShell::chooseFiles(const app::FileChoice&) {
    return files_;
}

bool TerminalShell::askYesNo(const std::string& question) {
    if (!interactive_) {
        std::string oneLine = question;
        for (char& c : oneLine) {
            if (c == '\n') c = ' ';
        }
        err_ << "tessel: " << oneLine
             << " No (standard input is not a terminal; use --overwrite)\n";
        return false;
    }
    // The report is flushed first so the question follows the file it is about.
    out_.flush();
    err_ << question << " [y/N] " << std::flush;
    std::string answer;
    if (!std::getline(in_, answer)) return false;
    return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

void TerminalShell::appendReport(const std::string& text, app::ReportStyle) {
    out_ << text;
}

void TerminalShell::openErrorLogs(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) out_ << "Error log: " << path << "\n";
}

}  // namespace tessel::cli
