// The program in a real window under an X server: started as the program
// starts, it marks up the HTML examples through its menu, tiles the log and
// the error-log window, and the screen's pixels of the main window are
// saved as desktop_screenshot.png in the build folder; the language dialog
// of the multilingual command is saved as language_dialog.png. A blank or
// single-coloured window fails.
#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QtTest>

#include "desktop_application.h"
#include "desktop_test_support.h"
#include "language_dialog.h"
#include "log_document.h"

using namespace tessel::desktop;
using namespace tessel::desktop::testing;

class ScreenshotTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void mainWindowShowsTheLogAndAnErrorLog();
    void languageDialogOfTheMultilingualCommand();
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

    menuAction(*frame, {"&HTML", "&Mark Up Tags..."})->trigger();
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
    menuAction(*frame, {"&HTML", "RTF -> Text (&MultiLingual)..."})->trigger();
    QVERIFY(shown);
    verifyPainted(shot, 8);
    QCOMPARE(logText(*frame), QString());
    QVERIFY(frame->close());
}

QTEST_MAIN(ScreenshotTest)
#include "screenshot_test.moc"
