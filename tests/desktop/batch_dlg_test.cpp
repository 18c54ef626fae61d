// The binding of the batch selection library against stand-ins: a missing
// library, one lacking functions, an old build that creates its dialog
// without an owner, a new build without CreateDlg, and a complete one.
#include "batch_dlg.h"

#include <dlfcn.h>

#include <QFileInfo>
#include <QtTest>

using tessel::desktop::CBatchDlg;

namespace {

const QString kFilter = "RTF Files|*.rtf|All Files (*.*)|*.*||";

QString fakeLibrary(const char* variant) {
    return QString(TESSEL_TEST_BINARY_DIR "/fake_multisel/%1/Multisel").arg(variant);
}

// The stand-in's own controls, in the same loaded copy as CBatchDlg's. Held
// open with dlopen, so that the binding's unloading leaves it loaded (two
// QLibrary objects of one file share a single load).
struct FakeControls {
    explicit FakeControls(const QString& path) {
        QByteArray file = QFile::encodeName(QFileInfo(path).path() + "/libMultisel.so");
        handle = dlopen(file.constData(), RTLD_NOW);
        if (handle == nullptr) qFatal("%s", dlerror());
        log = reinterpret_cast<const char* (*)()>(dlsym(handle, "FakeMultiselLog"));
        reset = reinterpret_cast<void (*)(int, const char*)>(dlsym(handle, "FakeMultiselReset"));
    }
    ~FakeControls() { dlclose(handle); }
    FakeControls(const FakeControls&) = delete;
    FakeControls& operator=(const FakeControls&) = delete;

    QString calls() const { return QString::fromUtf8(log()); }

    void* handle = nullptr;
    const char* (*log)() = nullptr;
    void (*reset)(int, const char*) = nullptr;
};

}  // namespace

class BatchDlgTest : public QObject {
    Q_OBJECT

  private slots:
    void missingLibraryIsReportedAndChoosesNothing();
    void lookupsStopAtTheFirstMissingFunction();
    void oldBuildCreatesItsDialogWithoutOwner();
    void newBuildWithoutCreateDlgIsUnusable();
    void completeLibraryYieldsTheChosenFilesThenEnds();
    void cancelledChoiceChoosesNothing();
    void programLoadsItsOwnLibraryByName();
};

void BatchDlgTest::missingLibraryIsReportedAndChoosesNothing() {
    QStringList messages;
    CBatchDlg batch("Select HTML Files", kFilter, 0, nullptr,
                    [&messages](const QString& m) { messages << m; },
                    {QString(TESSEL_TEST_BINARY_DIR "/no_such_folder/Multisel")});
    QCOMPARE(messages, QStringList{"Invalid or old version of Multisel.dll!"});
    QVERIFY(!batch.isUsable());
    QVERIFY(!batch.showModal());
    QVERIFY(batch.nextFile().isEmpty());
    QVERIFY(batch.chosenFiles().isEmpty());
}

void BatchDlgTest::lookupsStopAtTheFirstMissingFunction() {
    FakeControls fake(fakeLibrary("incomplete"));
    fake.reset(1, "/a.rtf");
    QStringList messages;
    {
        CBatchDlg batch("Select HTML RTF Files", kFilter, 0, nullptr,
                        [&messages](const QString& m) { messages << m; },
                        {fakeLibrary("incomplete")});
        QVERIFY(!batch.isUsable());
        // GetTitle comes before SetAppTitle in the lookup order.
        QCOMPARE(batch.missingFunction(), QString("GetTitle"));
        QVERIFY(!batch.showModal());
        QVERIFY(batch.chosenFiles().isEmpty());
    }
    QCOMPARE(messages, QStringList{"Invalid or old version of Multisel.dll!"});
    // Nothing was called: not the build, not the dialog, and no Free at the end.
    QCOMPARE(fake.calls(), QString());
}

void BatchDlgTest::oldBuildCreatesItsDialogWithoutOwner() {
    FakeControls fake(fakeLibrary("old_build"));
    fake.reset(1, "/x/a.rtf");
    QStringList messages;
    QWidget owner;
    {
        CBatchDlg batch("Select PageMaker RTF Files", kFilter, 0, &owner,
                        [&messages](const QString& m) { messages << m; },
                        {fakeLibrary("old_build")});
        QVERIFY(batch.isUsable());
        QCOMPARE(batch.build(), 101);
        QCOMPARE(fake.calls(), QString("GetBuild;Create;SetTitle(Select PageMaker RTF Files);"
                                       "SetFileFilter(RTF Files|*.rtf|All Files (*.*)|*.*)"));
    }
    QVERIFY(messages.isEmpty());
    QVERIFY(fake.calls().endsWith(";Free"));
}

void BatchDlgTest::newBuildWithoutCreateDlgIsUnusable() {
    FakeControls fake(fakeLibrary("no_create_dlg"));
    fake.reset(1, "/x/a.rtf");
    QStringList messages;
    {
        CBatchDlg batch("Select Ventura Files", kFilter, 0, nullptr,
                        [&messages](const QString& m) { messages << m; },
                        {fakeLibrary("no_create_dlg")});
        QVERIFY(!batch.isUsable());
        QCOMPARE(batch.missingFunction(), QString("CreateDlg"));
        QVERIFY(!batch.showModal());
    }
    QCOMPARE(messages, QStringList{"Invalid or old version of Multisel.dll!"});
    QCOMPARE(fake.calls(), QString("GetBuild"));
}

void BatchDlgTest::completeLibraryYieldsTheChosenFilesThenEnds() {
    FakeControls fake(fakeLibrary("complete"));
    fake.reset(1, "/data/a.rtf\n/data/sub/b.rtf");
    QWidget owner;
    {
        CBatchDlg batch("Select HTML RTF Files", kFilter, 3, &owner, nullptr,
                        {fakeLibrary("no_such"), fakeLibrary("complete")});
        QVERIFY(batch.isUsable());
        QVERIFY(batch.showModal());
        QCOMPARE(batch.chosenFiles(), (QStringList{"/data/a.rtf", "/data/sub/b.rtf"}));
        QVERIFY(batch.nextFile().isEmpty());
    }
    QCOMPARE(fake.calls(),
             QString("GetBuild;CreateDlg(owner);SetTitle(Select HTML RTF Files);"
                     "SetFileFilter(RTF Files|*.rtf|All Files (*.*)|*.*);SetFilterIndex(3);"
                     "ShowModal;GetNextFile;GetNextFile;GetNextFile;GetNextFile;Free"));
}

void BatchDlgTest::cancelledChoiceChoosesNothing() {
    FakeControls fake(fakeLibrary("complete"));
    fake.reset(0, "/data/a.rtf");
    CBatchDlg batch(QString(), QString(), 0, nullptr, nullptr, {fakeLibrary("complete")});
    QVERIFY(!batch.showModal());
    // No title and no filter given: neither is set.
    QCOMPARE(fake.calls(), QString("GetBuild;CreateDlg(null);ShowModal"));
}

void BatchDlgTest::programLoadsItsOwnLibraryByName() {
    // The library built with the program, found in the program's folder as
    // "Multisel", binds completely and is new enough to own its dialog.
    CBatchDlg batch("Select HTML Files", kFilter, 0, nullptr,
                    [](const QString& m) { QFAIL(qPrintable(m)); },
                    {QString(TESSEL_MULTISEL_DIR "/Multisel")});
    QVERIFY(batch.isUsable());
    QVERIFY(batch.build() > 101);
    QVERIFY(batch.missingFunction().isEmpty());
}

QTEST_MAIN(BatchDlgTest)
#include "batch_dlg_test.moc"
