// The batch core's shell on a terminal: the files come from the command line,
// the report goes to standard output, and the overwrite question is asked on
// the terminal (answered No when standard input is not one).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/batch_shell.h"

namespace tessel::cli {

class TerminalShell : public app::BatchShell {
  public:
    TerminalShell(std::vector<std::string> files, std::ostream& out, std::ostream& err,
                  std::istream& in, bool interactive);

    std::vector<std::string> chooseFiles(const app::FileChoice& choice) override;
    bool askYesNo(const std::string& question) override;
    void appendReport(const std::string& text, app::ReportStyle style) override;
    void clearReport() override {}
    void openErrorLogs(const std::vector<std::string>& paths) override;

  private:
    std::vector<std::string> files_;
    std::ostream& out_;
    std::ostream& err_;
    std::istream& in_;
    bool interactive_;
};

}  // namespace tessel::cli
