// What the program remembers between runs: each command's last folder, file
// pattern and sub-folders choice (settings in a temporary folder, read again
// by a new main frame), the batch library taking and telling them, and the
// recent files that hold converted inputs beside logs.
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QtTest>

#include "batch_dlg.h"
#include "desktop_test_support.h"
#include "file_choice_memory.h"
#include "log_document.h"

using namespace tessel::desktop;
using namespace tessel::desktop::testing;

namespace {

const QStringList kPageMakerMarkUp{"&PageMaker", "&Mark Up Tags..."};
const QStringList kHtmlMarkUp{"H&TML", "&Mark Up Tags..."};

}  // namespace

class RememberedChoicesTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        settings_ = useTemporarySettings();
        folder_ = std::make_unique<QTemporaryDir>();
    }
    void cleanup() {
        test_.frame.reset();
        folder_.reset();
        settings_.reset();
    }

    void eachCommandStartsWhereItsLastChoiceEnded();
    void batchLibraryTakesAndTellsTheStart();
    void recentFilesHoldConvertedInputs();

  private:
    // Quits (which writes the settings) and starts again.
    void restart() {
        if (test_.frame) test_.frame->close();
        test_.frame.reset();
        test_ = makeFrame();
        test_.frame->newLog();
    }
    void run(const QStringList& path, const QStringList& files) {
        test_.prompts->batches << files;
        QAction* action = menuAction(*test_.frame, path);
        QVERIFY2(action && action->isEnabled(), qPrintable(path.join('/')));
        action->trigger();
    }

    std::unique_ptr<QTemporaryDir> settings_;
    std::unique_ptr<QTemporaryDir> folder_;
    TestFrame test_;
};

void RememberedChoicesTest::eachCommandStartsWhereItsLastChoiceEnded() {
    QString pages = folder_->filePath("pm");
    QVERIFY(QDir().mkpath(pages));
    QStringList files = copyExamples(pages, {"pagemaker/windows_sample.txt"});
    restart();
    run(kPageMakerMarkUp, files);
    QCOMPARE(test_.prompts->startedAt.size(), 1);
    QCOMPARE(test_.prompts->startedAt[0], FileChoiceMemory());

    // The next start of the program: PageMaker mark-up starts in the folder
    // of its files, another command where it was.
    restart();
    run(kPageMakerMarkUp, {});
    run(kHtmlMarkUp, {});
    QCOMPARE(test_.prompts->startedAt.size(), 2);
    QCOMPARE(test_.prompts->startedAt[0].folder, QDir(pages).absolutePath());
    QCOMPARE(test_.prompts->startedAt[1], FileChoiceMemory());

    // A dialog that tells its folder, pattern and sub-folders choice has
    // them kept; a cancelled choice changes nothing.
    FileChoiceMemory ended{folder_->path(), "*.txt;*.pm6", true};
    test_.prompts->endAt << ended;
    run(kPageMakerMarkUp, files);
    restart();
    run(kPageMakerMarkUp, {});
    restart();
    run(kPageMakerMarkUp, {});
    QCOMPARE(test_.prompts->startedAt.size(), 1);
    QCOMPARE(test_.prompts->startedAt[0], ended);
    std::unique_ptr<QSettings> settings(openSettings());
    QCOMPARE(settings->value("File Choices/markup-pagemaker/SubFolders").toInt(), 1);
}

void RememberedChoicesTest::batchLibraryTakesAndTellsTheStart() {
    QString library = QStringLiteral(TESSEL_MULTISEL_DIR) + "/libMultisel.so";
    if (!QFileInfo::exists(library)) QSKIP("the batch selection library was not built");
    CBatchDlg batch("Select Ventura Files", "Text Files|*.txt|All Files (*.*)|*.*||", 0, nullptr,
                    nullptr, {library});
    QVERIFY(batch.isUsable());
    batch.setStart(folder_->path(), "*.vnt", true);
    QCOMPARE(QDir(batch.directory()).absolutePath(), QDir(folder_->path()).absolutePath());
    QCOMPARE(batch.userFilter(), QString("*.vnt"));
    QVERIFY(batch.subFolders());
    batch.setStart(QString(), QString(), false);
    QCOMPARE(batch.userFilter(), QString("*.vnt"));
    QVERIFY(!batch.subFolders());
}

void RememberedChoicesTest::recentFilesHoldConvertedInputs() {
    QStringList files = copyExamples(folder_->path(), {"pagemaker/windows_sample.txt"});
    QString log = folder_->filePath("run.rtf");
    restart();
    run(kPageMakerMarkUp, files);
    CTesselFilterPackDoc* current = nullptr;
    for (CTesselFilterPackDoc* document : test_.frame->documents()) {
        if (!document->isErrorLog()) current = document;
    }
    QVERIFY(current);
    test_.prompts->savePaths << log;
    QVERIFY(test_.frame->saveDocument(*current, true));
    QCOMPARE(test_.frame->recentFiles().paths(),
             (QStringList{log, QFileInfo(files[0]).absoluteFilePath()}));
    QCOMPARE(test_.frame->recentFiles().commandOf(files[0]), QString("markup-pagemaker"));
    QCOMPARE(test_.frame->recentFiles().commandOf(log), QString());

    // After a restart the input's entry converts it again without asking.
    restart();
    QCOMPARE(test_.frame->recentFiles().commandOf(files[0]), QString("markup-pagemaker"));
    QAction* entry = nullptr;
    for (QAction* menu : test_.frame->menuBar()->actions()) {
        if (menu->text() != "&File") continue;
        emit menu->menu()->aboutToShow();
        for (QAction* action : menu->menu()->actions()) {
            if (action->isVisible() &&
                action->text().endsWith(QFileInfo(files[0]).absoluteFilePath())) {
                entry = action;
            }
        }
    }
    QVERIFY(entry);
    entry->trigger();
    QVERIFY(test_.prompts->batchChoices.isEmpty());
    QVERIFY2(logText(*test_.frame).contains("Converting " + QFileInfo(files[0]).absoluteFilePath()),
             qPrintable(logText(*test_.frame)));
    QVERIFY(logText(*test_.frame).contains("1 file read."));
}

QTEST_MAIN(RememberedChoicesTest)
#include "remembered_choices_test.moc"
