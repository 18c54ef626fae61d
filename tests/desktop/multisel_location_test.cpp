// The installed batch selection library is found where `cmake --install` puts
// it: this program lies in the bin folder of a tree laid out as an installed
// one, with libMultisel.so in its installed folder and none beside the
// program, so only the path compiled into the loader can find it.
#include <QFileInfo>
#include <QLibrary>
#include <QtTest>

#include "multisel_loader.h"

using namespace tessel::desktop;

class MultiselLocationTest : public QObject {
    Q_OBJECT

  private slots:
    void findsTheLibraryInItsInstalledFolderFirst() {
        const QString installed = QStringLiteral(TESSEL_TEST_INSTALLED_MULTISEL);
        QVERIFY2(QFileInfo::exists(installed), qPrintable(installed));
        QVERIFY(!QFileInfo::exists(QCoreApplication::applicationDirPath() + "/libMultisel.so"));

        QLibrary library;
        QString loaded;
        for (const QString& name : multiselCandidates()) {
            library.setFileName(name);
            if (library.load()) {
                loaded = library.fileName();
                break;
            }
        }
        QVERIFY2(!loaded.isEmpty(), qPrintable(multiselCandidates().join(", ")));
        QCOMPARE(QFileInfo(loaded).canonicalFilePath(), QFileInfo(installed).canonicalFilePath());
        QVERIFY(library.resolve("GetBuild") != nullptr);
        library.unload();
    }
};

QTEST_MAIN(MultiselLocationTest)
#include "multisel_location_test.moc"
