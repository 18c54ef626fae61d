// TesselFilterPack: the desktop program. Arguments are documents to open
// (logs as .rtf, error logs as .err).
#include <QApplication>

#include "desktop_application.h"
#include "main_frame.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    tessel::desktop::configureApplication(application);
    tessel::desktop::StartOptions options;
    options.files = application.arguments().mid(1);
    std::unique_ptr<tessel::desktop::CMainFrame> frame =
        tessel::desktop::startDesktop(std::move(options));
    return application.exec();
}
