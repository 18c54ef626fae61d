#include "multisel_loader.h"

#include <QCoreApplication>
#include <QDir>

namespace tessel::desktop {

QStringList multiselCandidates() {
    // QLibrary adds the platform's prefix and suffix: libMultisel.so here,
    // Multisel.dll on Windows. The installed folder is compiled in relative
    // to the programs' folder, so a moved tree still finds it; a run path in
    // the program would not help, as the loader is called from Qt's library.
    const QString name = QStringLiteral("Multisel");
    const QDir programFolder(QCoreApplication::applicationDirPath());
    return {programFolder.filePath(name),
            QDir::cleanPath(programFolder.filePath(
                QString::fromUtf8(TESSEL_MULTISEL_FROM_PROGRAMS) + u'/' + name)),
            name};
}

}  // namespace tessel::desktop
