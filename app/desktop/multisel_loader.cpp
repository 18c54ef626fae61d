#include "multisel_loader.h"

#include <QCoreApplication>
#include <QDir>

namespace tessel::desktop {

QStringList multiselCandidates() {
    // QLibrary adds the platform's prefix and suffix: libMultisel.so here,
    // Multisel.dll on Windows.
    const QString name = QStringLiteral("Multisel");
    return {QDir(QCoreApplication::applicationDirPath()).filePath(name), name};
}

}  // namespace tessel::desktop
