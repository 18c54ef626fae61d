// Running a batch as a user of a large project does: the program starting
// with a file it cannot open, the run on a worker with its progress, Cancel,
// the problems list of a run that wrote many error logs and the cap on the
// error-log windows, and a log opened from disk that a command adds to.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "batch_progress.h"
#include "child_frame.h"
#include "desktop_application.h"
#include "desktop_shell.h"
#include "desktop_test_support.h"
#include "log_document.h"
#include "problems_list.h"

using namespace tessel::desktop;
using namespace tessel::desktop::testing;

namespace {

const QStringList kHtmlMarkUp{"H&TML", "&Mark Up Tags..."};

// Pages whose unknown tags each give an error log.
QStringList writePagesWithLogs(const QString& folder, int count) {
    QStringList pages;
    for (int i = 0; i < count; ++i) {
        QString page =
            QDir(folder).filePath(QStringLiteral("page%1.htm").arg(i, 3, 10, QChar('0')));
        writeBytes(page, "<html><body><section><nav>Text " + QByteArray::number(i) +
                             "</nav></section></body></html>\n");
        pages << page;
    }
    return pages;
}

int errorLogWindows(CMainFrame& frame) {
    int windows = 0;
    for (CTesselFilterPackDoc* document : frame.documents()) {
        if (document->isErrorLog()) windows += static_cast<int>(frame.windowsOf(*document).size());
    }
    return windows;
}

// A user who also answers the batch's overwrite question with its four
// buttons.
class OverwritePrompts : public ScriptedPrompts {
  public:
    QList<OverwriteAnswer> overwriteAnswers;  // none left: No
    QStringList overwriteQuestions;

    OverwriteAnswer askOverwrite(const QString& question) override {
        overwriteQuestions << question;
        return overwriteAnswers.isEmpty() ? OverwriteAnswer::No : overwriteAnswers.takeFirst();
    }
};

}  // namespace

class BatchRunTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void missingFileOnTheCommandLineIsReportedWithoutACrash();
    void batchRunsWhileTheWindowTakesInput();
    void cancelStopsAfterTheCurrentFile();
    void manyLogsGoIntoOneListAndAFewWindows();
    void logWindowsCanBeLeftClosed();
    void logOpenedFromDiskIsAddedTo();
    void cancelledChoiceKeepsTheLogWithTheOption();
    void yesToAllAndNoToAllAnswerForTheRestOfTheBatch();
    void sourcePageOfABackConversionIsNamedBeforeAsking();

  private:
    void runHtmlMarkUp(const QStringList& files) {
        test_.prompts->batches << files;
        QAction* action = menuAction(*test_.frame, kHtmlMarkUp);
        QVERIFY(action && action->isEnabled());
        action->trigger();
    }

    std::unique_ptr<QTemporaryDir> settings_;
    std::unique_ptr<QTemporaryDir> folder_;
    TestFrame test_;
};

void BatchRunTest::init() {
    settings_ = useTemporarySettings();
    folder_ = std::make_unique<QTemporaryDir>();
}

void BatchRunTest::cleanup() {
    test_.frame.reset();
    folder_.reset();
    settings_.reset();
}

void BatchRunTest::missingFileOnTheCommandLineIsReportedWithoutACrash() {
    // The "Cannot open" box is up while the splash shows; a click closes the
    // splash, which deletes itself, before the box is answered.
    QString missing = folder_->filePath("gone.rtf");
    QString shownText;
    whenShown<QMessageBox>([&shownText](QMessageBox& box) {
        shownText = box.text();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == "splash") window->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        box.accept();
    });
    StartOptions start;
    start.files = {missing};
    std::unique_ptr<CMainFrame> frame = startDesktop(std::move(start));
    QVERIFY(frame->isVisible());
    QVERIFY2(shownText.startsWith("Cannot open " + missing), qPrintable(shownText));
    // No file opened: the frame starts with a new log.
    QCOMPARE(frame->documents().size(), 1);
    QVERIFY(!frame->documents().first()->isErrorLog());
    for (QWidget* window : QApplication::topLevelWidgets()) {
        QVERIFY(window->objectName() != "splash" || !window->isVisible());
    }
}

void BatchRunTest::batchRunsWhileTheWindowTakesInput() {
    test_ = makeFrame();
    QStringList pages = writePagesWithLogs(folder_->path(), 40);
    // Typing into a field while the batch runs: the key arrives during the
    // run, and the progress shows which file of how many is converted.
    QLineEdit field;
    field.show();
    bool typedWhileRunning = false;
    connect(&field, &QLineEdit::textChanged, &field,
            [&] { typedWhileRunning = test_.frame->isRunning(); });
    QStringList progressTexts;
    bool keyPosted = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, &watch, [&] {
        BatchProgress* progress = test_.frame->batchProgress();
        if (!test_.frame->isRunning() || !progress->isVisible()) return;
        progressTexts << progress->bar()->text();
        if (!keyPosted) {
            keyPosted = true;
            QCoreApplication::postEvent(&field, new QKeyEvent(QEvent::KeyPress, Qt::Key_X,
                                                              Qt::NoModifier, QStringLiteral("x")));
        }
    });
    watch.start(1);
    runHtmlMarkUp(pages);
    watch.stop();

    QVERIFY(typedWhileRunning);
    QCOMPARE(field.text(), QStringLiteral("x"));
    QVERIFY(!progressTexts.isEmpty());
    QRegularExpression shape(QStringLiteral("^file (\\d+) of 40$"));
    for (const QString& shown : progressTexts)
        QVERIFY2(shape.match(shown).hasMatch(), qPrintable(shown));
    QVERIFY(!test_.frame->batchProgress()->isVisible());
    QVERIFY(test_.frame->isEnabled());
    QVERIFY(logText(*test_.frame).contains("40 File(s) Processed."));
    QVERIFY(logText(*test_.frame).contains("40 files read."));
}

void BatchRunTest::cancelStopsAfterTheCurrentFile() {
    test_ = makeFrame();
    QStringList pages = writePagesWithLogs(folder_->path(), 60);
    QTimer watch;
    int numberWhenCancelled = 0;
    connect(&watch, &QTimer::timeout, &watch, [&] {
        BatchProgress* progress = test_.frame->batchProgress();
        if (numberWhenCancelled > 0 || !test_.frame->isRunning()) return;
        QRegularExpressionMatch shown = QRegularExpression(QStringLiteral("^file (\\d+) of 60$"))
                                            .match(progress->bar()->text());
        if (!shown.hasMatch() || shown.captured(1).toInt() < 3) return;
        numberWhenCancelled = shown.captured(1).toInt();
        QTest::mouseClick(progress->cancelButton(), Qt::LeftButton);
    });
    watch.start(1);
    runHtmlMarkUp(pages);
    watch.stop();

    QVERIFY(numberWhenCancelled >= 3);
    QString log = logText(*test_.frame);
    // The file that was being converted is finished, the next one is not
    // started.
    int converted = static_cast<int>(log.count("Converting "));
    QVERIFY2(converted == numberWhenCancelled || converted == numberWhenCancelled + 1,
             qPrintable(QString::number(converted)));
    QVERIFY2(log.contains(QStringLiteral("Cancelled after %1 of 60 files.\n\n").arg(converted)),
             qPrintable(log.right(400)));
    QVERIFY(!log.contains("File(s) Processed."));
    QVERIFY(log.contains(QStringLiteral("%1 files read.").arg(converted)));
    QCOMPARE(test_.frame->problemsList()->table()->topLevelItemCount(), converted);
    // The next batch is not cancelled by the last one's request.
    runHtmlMarkUp(pages.mid(0, 2));
    QVERIFY(logText(*test_.frame).contains("2 File(s) Processed."));
}

void BatchRunTest::manyLogsGoIntoOneListAndAFewWindows() {
    test_ = makeFrame();
    QStringList pages = writePagesWithLogs(folder_->path(), 30);
    runHtmlMarkUp(pages);

    ProblemsList* problems = test_.frame->problemsList();
    QVERIFY(problems->isVisible());
    QTreeWidget* table = problems->table();
    QCOMPARE(table->topLevelItemCount(), 30);
    QTreeWidgetItem* last = table->topLevelItem(29);
    QCOMPARE(last->text(0), pages.last());
    QVERIFY(last->text(1).toInt() < 0);
    QVERIFY2(!last->text(2).isEmpty(), "the log's first message");
    QCOMPARE(last->text(2), QStringLiteral("Unknown HTML tag in the following text segment:"));
    // The option to open the windows is on with its limit of 10.
    QCOMPARE(errorLogWindows(*test_.frame), 10);
    // The error logs opened by the run do not push the recent files out;
    // the run's first three inputs are added.
    QStringList firstInputs;
    for (const QString& page : pages.mid(0, 3)) firstInputs << QFileInfo(page).absoluteFilePath();
    QCOMPARE(test_.frame->recentFiles().paths(), firstInputs);

    // A double-click opens that file's log.
    table->setCurrentItem(last);
    QVERIFY(problems->openButton()->isEnabled());
    emit table->itemDoubleClicked(last, 0);
    CChildFrame* active = test_.frame->activeChild();
    QVERIFY(active);
    QCOMPARE(QFileInfo(active->document().filePath()).fileName(), QStringLiteral("page029.ERR"));
    QCOMPARE(errorLogWindows(*test_.frame), 11);
}

void BatchRunTest::logWindowsCanBeLeftClosed() {
    test_ = makeFrame();
    ProblemsList* problems = test_.frame->problemsList();
    problems->limitBox()->setValue(3);
    QCOMPARE(test_.frame->options().errorLogWindowLimit, 3);
    QStringList pages = writePagesWithLogs(folder_->path(), 5);
    runHtmlMarkUp(pages);
    QCOMPARE(errorLogWindows(*test_.frame), 3);

    test_.frame->closeAllErrorWindows();
    problems->openWindowsBox()->setChecked(false);
    QVERIFY(!test_.frame->options().openErrorLogWindows);
    QVERIFY(!problems->limitBox()->isEnabled());
    QDir(folder_->path()).mkdir("again");
    runHtmlMarkUp(writePagesWithLogs(folder_->filePath("again"), 5));
    QCOMPARE(errorLogWindows(*test_.frame), 0);
    QCOMPARE(problems->table()->topLevelItemCount(), 5);
    // Both choices are kept for the next start.
    QVERIFY(test_.frame->close());
    test_.frame.reset();
    test_ = makeFrame();
    QVERIFY(!test_.frame->options().openErrorLogWindows);
    QCOMPARE(test_.frame->options().errorLogWindowLimit, 3);
    QVERIFY(!test_.frame->problemsList()->openWindowsBox()->isChecked());
}

void BatchRunTest::logOpenedFromDiskIsAddedTo() {
    test_ = makeFrame();
    QStringList pages = writePagesWithLogs(folder_->path(), 1);
    runHtmlMarkUp(pages);
    QString saved = folder_->filePath("saved.rtf");
    test_.prompts->savePaths << saved;
    CTesselFilterPackDoc* log = nullptr;
    for (CTesselFilterPackDoc* document : test_.frame->documents()) {
        if (!document->isErrorLog()) log = document;
    }
    QVERIFY(log);
    QVERIFY(test_.frame->saveDocument(*log, true));
    test_.frame.reset();

    test_ = makeFrame();
    CTesselFilterPackDoc* reopened = test_.frame->openDocument(saved);
    QVERIFY(reopened);
    QString before = reopened->textDocument()->toPlainText();
    QVERIFY(before.contains("Summary of Markup"));
    test_.prompts->batches << QStringList{};
    menuAction(*test_.frame, {"&PageMaker", "&Mark Up Tags..."})->trigger();
    QCOMPARE(reopened->textDocument()->toPlainText(), before);
    QVERIFY(!reopened->isModified());
}

void BatchRunTest::cancelledChoiceKeepsTheLogWithTheOption() {
    {
        std::unique_ptr<QSettings> settings(openSettings());
        settings->setValue("Settings/ClearLogOnlyWhenFilesChosen", 1);
    }
    test_ = makeFrame();
    test_.frame->newLog();
    QStringList pages = writePagesWithLogs(folder_->path(), 1);
    runHtmlMarkUp(pages);
    QString before = logText(*test_.frame);
    test_.prompts->batches << QStringList{};
    menuAction(*test_.frame, {"&PageMaker", "&Mark Up Tags..."})->trigger();
    QCOMPARE(logText(*test_.frame), before);
    // Files chosen: the other group's command empties the log first.
    test_.prompts->batches << copyExamples(folder_->path(), {"pagemaker/windows_sample.txt"});
    menuAction(*test_.frame, {"&PageMaker", "&Mark Up Tags..."})->trigger();
    QVERIFY(logText(*test_.frame).startsWith("Marking up PageMaker tags..."));
}

void BatchRunTest::yesToAllAndNoToAllAnswerForTheRestOfTheBatch() {
    auto owned = std::make_unique<OverwritePrompts>();
    OverwritePrompts* prompts = owned.get();
    test_.prompts = prompts;
    test_.frame = std::make_unique<CMainFrame>(std::move(owned));
    QStringList pages = writePagesWithLogs(folder_->path(), 4);
    QStringList outputs;
    for (const QString& page : pages) {
        outputs << QString(page).replace(".htm", ".rtf");
        writeBytes(outputs.last(), "older output");
    }
    prompts->overwriteAnswers = {OverwriteAnswer::No, OverwriteAnswer::YesToAll};
    runHtmlMarkUp(pages);
    QCOMPARE(
        prompts->overwriteQuestions,
        (QStringList{
            "A file named " + outputs[0] + " already exists.\n\nDo you want to overwrite it?",
            "A file named " + outputs[1] + " already exists.\n\nDo you want to overwrite it?"}));
    QCOMPARE(readBytes(outputs[0]), QByteArray("older output"));
    for (int i = 1; i < 4; ++i) QVERIFY(readBytes(outputs[i]).startsWith("{\\rtf1"));

    // The next batch asks again; No to All keeps every output.
    prompts->overwriteQuestions.clear();
    for (const QString& output : outputs) writeBytes(output, "older output");
    prompts->overwriteAnswers = {OverwriteAnswer::NoToAll};
    runHtmlMarkUp(pages);
    QCOMPARE(prompts->overwriteQuestions.size(), 1);
    for (const QString& output : outputs) QCOMPARE(readBytes(output), QByteArray("older output"));
    QVERIFY(logText(*test_.frame).contains("4 files read.\nNo output files created."));
}

void BatchRunTest::sourcePageOfABackConversionIsNamedBeforeAsking() {
    test_ = makeFrame();
    QStringList pages = writePagesWithLogs(folder_->path(), 1);
    runHtmlMarkUp(pages);
    QString rtf = folder_->filePath("page000.rtf");
    QVERIFY(QFileInfo::exists(rtf));
    QByteArray page = readBytes(pages[0]);
    // Even with "Overwrite Existing Files" on, the source page is asked for.
    menuAction(*test_.frame, {"&Options", "&Overwrite Existing Files"})->trigger();
    test_.prompts->batches << QStringList{rtf};
    menuAction(*test_.frame, {"H&TML", "&RTF -> Text..."})->trigger();
    QCOMPARE(test_.prompts->questions.size(), 1);
    QCOMPARE(test_.prompts->questions[0],
             pages[0] +
                 " is the file this RTF file was marked up from: replacing it loses the "
                 "original.\n\nA file named " +
                 pages[0] + " already exists.\n\nDo you want to overwrite it?");
    QCOMPARE(readBytes(pages[0]), page);

    QVERIFY(isSourcePageOf(folder_->filePath("a.htm"), folder_->filePath("a.RTF")));
    QVERIFY(!isSourcePageOf(folder_->filePath("a.rtf"), folder_->filePath("a.htm")));
    QVERIFY(!isSourcePageOf(folder_->filePath("b.htm"), folder_->filePath("a.rtf")));
    QVERIFY(!isSourcePageOf("/elsewhere/a.htm", folder_->filePath("a.rtf")));
}

QTEST_MAIN(BatchRunTest)
#include "batch_run_test.moc"
