// The batch core's shell in the desktop program: the report goes into a log
// document, the questions and file choices to the user prompts, the code
// page to the library's language dialog, and the error logs into windows of
// the main frame.
#pragma once

#include <QString>

#include "core/batch_shell.h"

namespace tessel::desktop {

class CTesselFilterPackDoc;
class DesktopHost;

class DesktopShell : public app::BatchShell {
  public:
    DesktopShell(DesktopHost& host, CTesselFilterPackDoc& log) : host_(host), log_(log) {}

    std::vector<std::string> chooseFiles(const app::FileChoice& choice) override;
    std::string chooseOneFile(const app::FileChoice& choice) override;
    bool askYesNo(const std::string& question) override;
    void appendReport(const std::string& text, app::ReportStyle style) override;
    void clearReport() override;
    void openErrorLogs(const std::vector<std::string>& paths) override;
    bool closeErrorLogViews(const std::vector<std::string>& logPaths) override;
    // The library's language dialog, preselected with `presetCodePage`; the
    // choice is remembered for the next multilingual run.
    app::CodePageChoice chooseCodePage(unsigned presetCodePage) override;

  private:
    DesktopHost& host_;
    CTesselFilterPackDoc& log_;
};

// Paths between the core (the file system's bytes) and Qt.
QString fromCorePath(const std::string& path);
std::string toCorePath(const QString& path);

}  // namespace tessel::desktop
