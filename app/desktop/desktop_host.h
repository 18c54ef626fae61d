// What the documents' windows and the batch shell need from the main window:
// the user prompts, the options, the error-log windows and the code page of
// the last multilingual run.
#pragma once

#include <QList>
#include <QStringList>

#include "core/command_table.h"
#include "desktop_options.h"

class QWidget;

namespace tessel::desktop {

class UserPrompts;

// A file of the last run that wrote an error log, or whose outputs could not
// be moved into the output folder.
struct BatchProblem {
    QString inputPath;
    int code = 0;
    QString logPath;  // empty: none written
    // Why the outputs did not reach the output folder; stands before the
    // log's first message.
    QString deliveryProblem;
};

class DesktopHost {
  public:
    virtual ~DesktopHost() = default;

    virtual UserPrompts& prompts() = 0;
    virtual const DesktopOptions& options() const = 0;
    // Opens each file in an error-log window (or brings its window forward).
    virtual void openErrorLogs(const QStringList& paths) = 0;
    // Closes the windows of these error logs, asking to save modified ones;
    // false when the user cancelled.
    virtual bool closeErrorLogWindows(const QStringList& paths) = 0;
    // The code page the multilingual command offers first: the last one
    // chosen while the program runs, 1252 before any.
    virtual unsigned lastCodePage() const = 0;
    virtual void rememberCodePage(unsigned codePage) = 0;

    // A batch of `fileCount` files starts, then each of its files (numbered
    // from 1). Called on the window's thread.
    virtual void batchStarted(int /*fileCount*/) {}
    virtual void batchFileStarting(int /*number*/, int /*fileCount*/, const QString& /*path*/) {}
    // The user asked to stop the batch after the current file; asked from
    // the batch's own thread.
    virtual bool batchCancelRequested() const { return false; }
    // The inputs `command` read in its last run, for the recent files.
    virtual void rememberInputs(const app::Command& /*command*/, const QStringList& /*inputs*/) {}
    // The files of the finished run that wrote an error log.
    virtual void showProblems(const QList<BatchProblem>& /*problems*/) {}
};

}  // namespace tessel::desktop
