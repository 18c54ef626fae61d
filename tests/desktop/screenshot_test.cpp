// The program in a real window under an X server: started as the program
// starts, it marks up the HTML examples through its menu, tiles the log and
// the error-log window, and the screen's pixels of the main window are
// saved as desktop_screenshot.png in the build folder; the language dialog
// of the multilingual command is saved as language_dialog.png. A blank or
// single-coloured window fails. A batch of 300 pages that each write an error
// log ends in one problems list and at most 10 log windows
// (desktop_large_batch.png), and a cancelled batch is shown while it stops
// (desktop_cancel.png); both check that the frame, its status bar and the
// list lie on the screen, also at a scale factor of 2 (the "_x2" pictures).
#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "batch_progress.h"
#include "desktop_application.h"
#include "desktop_test_support.h"
#include "language_dialog.h"
#include "log_document.h"
#include "problems_list.h"

using namespace tessel::desktop;
using namespace tessel::desktop::testing;

class ScreenshotTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void mainWindowShowsTheLogAndAnErrorLog();
    void languageDialogOfTheMultilingualCommand();
    void largeBatchEndsInOneListAndAFewWindows();
    void cancelledBatchStopsAndSaysSo();
};

namespace {

// The screen's pixels of `window` with its frame, saved under `name` in the
// build folder.
QImage grabAndSave(QWidget& window, const char* name) {
    QScreen* screen = window.screen();
    QRect area = window.frameGeometry();
    QImage shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    const QString path = QStringLiteral(TESSEL_TEST_BINARY_DIR "/") + QLatin1String(name);
    if (!shot.isNull() && shot.save(path)) {
        qInfo("screenshot: %s (%dx%d)", qPrintable(path), shot.width(), shot.height());
    }
    return shot;
}

// A painted window has text, frames and icons: many colours, and no colour
// covering nearly everything.
void verifyPainted(const QImage& shot, int minimumColours) {
    QVERIFY(!shot.isNull());
    QHash<QRgb, int> colours;
    int samples = 0;
    for (int y = 0; y < shot.height(); y += 2) {
        for (int x = 0; x < shot.width(); x += 2) {
            ++colours[shot.pixel(x, y)];
            ++samples;
        }
    }
    int commonest = 0;
    for (int n : colours) commonest = std::max(commonest, n);
    QVERIFY2(colours.size() >= minimumColours,
             qPrintable(QString("only %1 colours").arg(colours.size())));
    QVERIFY2(commonest < samples * 0.9, "one colour covers the window");
}

// The picture's name, marked when the screen is scaled.
QByteArray shotName(const char* stem) {
    QByteArray name(stem);
    if (qApp->devicePixelRatio() > 1.5) name += "_x2";
    return name + ".png";
}

QStringList writePagesWithLogs(const QString& folder, int count) {
    QStringList pages;
    for (int i = 0; i < count; ++i) {
        QString page =
            QDir(folder).filePath(QStringLiteral("page%1.htm").arg(i, 3, 10, QChar('0')));
        writeBytes(page, "<html><body><section><nav>Page " + QByteArray::number(i) +
                             "</nav></section></body></html>\n");
        pages << page;
    }
    return pages;
}

// A widget lies wholly on the screen's free area.
void verifyOnScreen(QWidget& widget, const char* what) {
    QRect area = widget.screen()->availableGeometry();
    QRect shown(widget.mapToGlobal(QPoint(0, 0)), widget.size());
    if (widget.isWindow()) shown = widget.frameGeometry();
    QVERIFY2(area.contains(shown), qPrintable(QStringLiteral("%1 at %2,%3 %4x%5 outside %6x%7")
                                                  .arg(what)
                                                  .arg(shown.x())
                                                  .arg(shown.y())
                                                  .arg(shown.width())
                                                  .arg(shown.height())
                                                  .arg(area.width())
                                                  .arg(area.height())));
}

std::unique_ptr<CMainFrame> startWith(ScriptedPrompts*& user) {
    auto prompts = std::make_unique<ScriptedPrompts>();
    user = prompts.get();
    StartOptions start;
    start.splash = false;
    start.prompts = std::move(prompts);
    return startDesktop(std::move(start));
}

}  // namespace

void ScreenshotTest::init() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        QSKIP("needs a real X server (run under xvfb-run with QT_QPA_PLATFORM=xcb)");
    }
}

void ScreenshotTest::mainWindowShowsTheLogAndAnErrorLog() {
    auto settings = useTemporarySettings();
    QTemporaryDir folder;
    QStringList pages =
        copyExamples(folder.path(), {"html/product_page.htm", "html/server_page.asp"});

    auto prompts = std::make_unique<ScriptedPrompts>();
    ScriptedPrompts* user = prompts.get();
    user->batches << pages;
    StartOptions start;
    start.splash = false;
    start.prompts = std::move(prompts);
    std::unique_ptr<CMainFrame> frame = startDesktop(std::move(start));
    frame->resize(1000, 700);
    frame->move(20, 20);
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));

    menuAction(*frame, {"H&TML", "&Mark Up Tags..."})->trigger();
    QVERIFY(logText(*frame).contains("1 Error Log File written."));
    int errorLogs = 0;
    for (CTesselFilterPackDoc* document : frame->documents()) errorLogs += document->isErrorLog();
    QCOMPARE(errorLogs, 1);
    menuAction(*frame, {"&Window", "&Tile"})->trigger();
    frame->raise();
    frame->activateWindow();
    QTest::qWait(500);  // let the window manager-less server finish painting

    verifyPainted(grabAndSave(*frame, "desktop_screenshot.png"), 32);
    QVERIFY(frame->close());
}

void ScreenshotTest::languageDialogOfTheMultilingualCommand() {
    auto settings = useTemporarySettings();
    StartOptions start;
    start.splash = false;
    start.prompts = std::make_unique<ScriptedPrompts>();
    std::unique_ptr<CMainFrame> frame = startDesktop(std::move(start));
    frame->resize(800, 600);
    frame->move(20, 20);
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));

    QImage shot;
    bool shown = false;
    whenShown<LanguageDialog>([&](LanguageDialog& dialog) {
        shown = QTest::qWaitForWindowExposed(&dialog);
        QTest::qWait(500);
        shot = grabAndSave(dialog, "language_dialog.png");
        dialog.reject();
    });
    // The command asks for the language first; cancelled, it ends there.
    menuAction(*frame, {"H&TML", "RTF -> Text (Multi&Lingual)..."})->trigger();
    QVERIFY(shown);
    verifyPainted(shot, 8);
    QCOMPARE(logText(*frame), QString());
    QVERIFY(frame->close());
}

void ScreenshotTest::largeBatchEndsInOneListAndAFewWindows() {
    auto settings = useTemporarySettings();
    QTemporaryDir folder;
    ScriptedPrompts* user = nullptr;
    std::unique_ptr<CMainFrame> frame = startWith(user);
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    user->batches << writePagesWithLogs(folder.path(), 300);

    menuAction(*frame, {"H&TML", "&Mark Up Tags..."})->trigger();
    QVERIFY(logText(*frame).contains("300 Error Log Files written."));
    QCOMPARE(frame->problemsList()->table()->topLevelItemCount(), 300);
    int logWindows = 0;
    for (CTesselFilterPackDoc* document : frame->documents()) {
        if (document->isErrorLog())
            logWindows += static_cast<int>(frame->windowsOf(*document).size());
    }
    QCOMPARE(logWindows, 10);
    QTest::qWait(500);

    verifyOnScreen(*frame, "frame");
    verifyOnScreen(*frame->statusBar(), "status bar");
    verifyOnScreen(*frame->problemsList(), "problems list");
    verifyPainted(grabAndSave(*frame, shotName("desktop_large_batch")), 32);
    QVERIFY(frame->close());
}

void ScreenshotTest::cancelledBatchStopsAndSaysSo() {
    auto settings = useTemporarySettings();
    QTemporaryDir folder;
    ScriptedPrompts* user = nullptr;
    std::unique_ptr<CMainFrame> frame = startWith(user);
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    user->batches << writePagesWithLogs(folder.path(), 300);

    // At file 20 the progress is pictured, then Cancel is clicked.
    QImage running;
    bool progressOnScreen = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, &watch, [&] {
        BatchProgress* progress = frame->batchProgress();
        if (!running.isNull() || !progress->isVisible() || progress->bar()->value() < 20) {
            return;
        }
        QTest::qWait(200);
        running = grabAndSave(*frame, shotName("desktop_cancel"));
        QRect area = frame->screen()->availableGeometry();
        progressOnScreen =
            area.contains(QRect(progress->mapToGlobal(QPoint(0, 0)), progress->size()));
        QTest::mouseClick(progress->cancelButton(), Qt::LeftButton);
    });
    watch.start(5);
    menuAction(*frame, {"H&TML", "&Mark Up Tags..."})->trigger();
    watch.stop();

    verifyPainted(running, 32);
    QVERIFY(progressOnScreen);
    QString log = logText(*frame);
    QVERIFY2(log.contains(QRegularExpression("Cancelled after \\d+ of 300 files\\.")),
             qPrintable(log.right(300)));
    QVERIFY(!frame->batchProgress()->isVisible());
    QVERIFY(frame->problemsList()->table()->topLevelItemCount() < 300);
    QVERIFY(frame->close());
}

QTEST_MAIN(ScreenshotTest)
#include "screenshot_test.moc"
