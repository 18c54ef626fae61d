// A window's view of a conversion log. The report is protected: the user
// reads, selects and copies it, and only the commands write into it. The
// view runs the conversion commands and the checks into its log and keeps
// what belongs to a run: the counters, the last format group and the error
// logs to open.
#pragma once

#include <QTextEdit>
#include <memory>

#include "core/batch_session.h"
#include "core/command_table.h"
#include "core/translation_checks.h"

namespace tessel::desktop {

class CTesselFilterPackDoc;
class DesktopHost;
class DesktopShell;

class CTesselFilterPackView : public QTextEdit {
    Q_OBJECT

  public:
    CTesselFilterPackView(CTesselFilterPackDoc& document, DesktopHost& host,
                          QWidget* parent = nullptr);
    ~CTesselFilterPackView() override;

    CTesselFilterPackDoc& logDocument() const { return document_; }

    // One command from the file choice to the summary; the files are
    // converted on a worker thread while the window stays responsive.
    // `files`, where given, are converted without asking for them.
    std::vector<app::FileOutcome> runCommand(const app::Command& command,
                                             const QStringList* files = nullptr);
    // A check from its file choices to its summary; the findings are
    // appended as they are found.
    app::CheckOutcome runCheck(const app::CheckCommand& check);

  private:
    CTesselFilterPackDoc& document_;
    DesktopHost& host_;
    std::unique_ptr<DesktopShell> shell_;
    std::unique_ptr<app::BatchSession> session_;
};

}  // namespace tessel::desktop
