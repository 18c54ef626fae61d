#include "desktop_application.h"

#include <QApplication>
#include <QPointer>

#include "artwork.h"
#include "desktop_texts.h"
#include "main_frame.h"
#include "splash_window.h"
#include "user_prompts.h"

namespace tessel::desktop {

void configureApplication(QApplication& application) {
    application.setOrganizationName(QString::fromUtf8(text::kSettingsOrganisation));
    application.setApplicationName(QString::fromUtf8(text::kSettingsApplication));
    application.setDesktopFileName(QString::fromUtf8(text::kDesktopFileName));
    application.setWindowIcon(applicationIcon());
}

std::unique_ptr<CMainFrame> startDesktop(StartOptions options) {
    // The splash deletes itself when it closes, which a message box about a
    // file of the command line may cause (a key press or click closes it).
    QPointer<CSplashWnd> splash = options.splash ? showSplash() : nullptr;
    auto frame = std::make_unique<CMainFrame>(std::move(options.prompts));
    frame->show();
    bool opened = false;
    for (const QString& file : options.files) opened = frame->openDocument(file) || opened;
    if (!opened) frame->newLog();
    if (splash) splash->raise();
    return frame;
}

}  // namespace tessel::desktop
