// TesselFilterPack: the desktop program. Arguments are documents to open
// (logs as .rtf, error logs as .err); --help and --version are answered
// before Qt starts, so they need no display.
#include <QApplication>
#include <iostream>

#include "command_line.h"
#include "desktop_application.h"
#include "main_frame.h"

int main(int argc, char** argv) {
    if (std::optional<int> status =
            tessel::desktop::answerCommandLine(argc, argv, std::cout, std::cerr))
        return *status;
    QApplication application(argc, argv);
    tessel::desktop::configureApplication(application);
    tessel::desktop::StartOptions options;
    options.files = application.arguments().mid(1);
    options.files.removeOne(QStringLiteral("--"));  // what follows it is all files
    std::unique_ptr<tessel::desktop::CMainFrame> frame =
        tessel::desktop::startDesktop(std::move(options));
    return application.exec();
}
