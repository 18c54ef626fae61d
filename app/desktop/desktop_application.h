// Start-up of the desktop program: the application's names and icon, the
// splash, the main frame and the documents of the command line (a new log
// when there are none). The settings are read by the main frame as it is
// made and written when it closes.
//
// The original platform's other start-up steps (initialising its
// object-linking libraries, registering as an automation or embedding
// server) have no counterpart here and are left out.
#pragma once

#include <QStringList>
#include <memory>

#include "user_prompts.h"

class QApplication;

namespace tessel::desktop {

class CMainFrame;

void configureApplication(QApplication& application);

struct StartOptions {
    QStringList files;
    bool splash = true;
    std::unique_ptr<UserPrompts> prompts;  // none: the real dialogs
};

std::unique_ptr<CMainFrame> startDesktop(StartOptions options);

}  // namespace tessel::desktop
