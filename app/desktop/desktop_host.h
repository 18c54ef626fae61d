// What the documents' windows and the batch shell need from the main window:
// the user prompts, the options, and the error-log windows.
#pragma once

#include <QStringList>

#include "desktop_options.h"

class QWidget;

namespace tessel::desktop {

class UserPrompts;

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
};

}  // namespace tessel::desktop
