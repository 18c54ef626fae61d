// The main frame: its menu tree and texts, the options with their settings round trip and
// status-bar indicators, the recent files, the About box and the splash.
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QtTest>

#include "about_dialog.h"
#include "core/command_table.h"
#include "desktop_test_support.h"
#include "log_document.h"
#include "splash_window.h"

using namespace tessel::desktop;
using namespace tessel::desktop::testing;

class MainFrameTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { settings_ = useTemporarySettings(); }
    void cleanup() { settings_.reset(); }

    void menuBarHoldsTheMenusInOrder();
    void standardMenusHoldTheirEntries();
    void formatMenusFollowTheCommandTable();
    void noStoredSettingsGiveThreeOffs();
    void toggledOptionIsStoredAsOneAtExit();
    void optionsShowPromptsAndIndicators();
    void recentFilesKeepTheLastFiveAcrossRuns();
    void aboutBoxShowsTheLibrary();
    void splashClosesOnKeyClickOrTime();

  private:
    std::unique_ptr<QTemporaryDir> settings_;
};

void MainFrameTest::menuBarHoldsTheMenusInOrder() {
    TestFrame test = makeFrame();
    QStringList titles;
    for (QAction* action : test.frame->menuBar()->actions()) titles << action->text();
    QCOMPARE(titles, (QStringList{"&File", "&Edit", "&View", "Ve&ntura", "&PageMaker",
                                  "&QuarkXPress", "H&TML", "&Options", "&Window", "&Help"}));
}

void MainFrameTest::standardMenusHoldTheirEntries() {
    TestFrame test = makeFrame();
    CMainFrame& frame = *test.frame;
    QCOMPARE(menuEntries(frame, {"&File"}),
             (QStringList{"&New", "&Open...", "&Close", "&Save", "Save &As...", "&Print...",
                          "Print Pre&view", "P&rint Setup...", "Recent File", "E&xit"}));
    QCOMPARE(menuEntries(frame, {"&Edit"}),
             (QStringList{"&Undo", "Cu&t", "&Copy", "&Paste", "Select &All", "&Find...",
                          "Find &Next", "R&eplace..."}));
    QCOMPARE(menuEntries(frame, {"&View"}), (QStringList{"&Toolbar", "&Status Bar"}));
    QCOMPARE(menuEntries(frame, {"&Window"}).mid(0, 5),
             (QStringList{"&New Window", "&Cascade", "&Tile", "&Arrange Icons",
                          "Close All &Error Windows"}));
    QCOMPARE(menuEntries(frame, {"&Help"}),
             (QStringList{"&Help Topics", "&About Tessel Filter Pack..."}));
    QCOMPARE(menuEntries(frame, {"&Options"}),
             (QStringList{"&Overwrite Existing Files", "&Ask for HTML Tag Definition File",
                          "&Use Standard File Dialog", "&Check Tags When Converting Back",
                          "Output &Folder...", "Source &Encoding for Mark-Up",
                          "Target Code &Page for Back-Conversions"}));
}

void MainFrameTest::formatMenusFollowTheCommandTable() {
    TestFrame test = makeFrame();
    CMainFrame& frame = *test.frame;
    // The conversion commands, then the two checks of each format menu.
    const QStringList checks{"Verify &Translation...", "Chec&k Round Trip..."};
    const QStringList xliff{"E&xtract to XLIFF...", "Mer&ge XLIFF..."};
    const QStringList markUpAndBack =
        QStringList{"&Mark Up Tags...", "&RTF -> Text..."} + xliff + checks;
    QCOMPARE(menuEntries(frame, {"Ve&ntura"}), (QStringList{"Version &4", "Version &5 Or Later"}));
    QCOMPARE(menuEntries(frame, {"Ve&ntura", "Version &4"}), markUpAndBack);
    QCOMPARE(menuEntries(frame, {"Ve&ntura", "Version &5 Or Later"}), markUpAndBack);
    QCOMPARE(menuEntries(frame, {"&PageMaker"}), markUpAndBack);
    QCOMPARE(menuEntries(frame, {"&QuarkXPress"}), markUpAndBack);
    QCOMPARE(menuEntries(frame, {"H&TML"}),
             (QStringList{"&Mark Up Tags...", "RTF -> Text (Multi&Lingual)...", "&RTF -> Text...",
                          "RTF -> Text (&Compatible)..."} +
              xliff + checks));
    // Every available row is an enabled entry with its status-bar text.
    int entries = 0;
    for (const tessel::app::Command& command : tessel::app::commandTable()) {
        if (command.menuPath.empty()) continue;
        ++entries;
        QAction* action = menuAction(
            frame, QString::fromUtf8(command.menuPath.data(), command.menuPath.size()).split('/'));
        QVERIFY2(action, command.menuPath.data());
        QVERIFY(action->isEnabled());
        QCOMPARE(action->statusTip(),
                 QString::fromUtf8(command.statusTip.data(), command.statusTip.size()));
    }
    QCOMPARE(entries, 22);
}

void MainFrameTest::noStoredSettingsGiveThreeOffs() {
    TestFrame test = makeFrame();
    const DesktopOptions& options = test.frame->options();
    QVERIFY(!options.overwriteExistingFiles);
    QVERIFY(!options.askForTagFile);
    QVERIFY(!options.useStandardFileDialog);
    for (const char* entry : {"&Overwrite Existing Files", "&Ask for HTML Tag Definition File",
                              "&Use Standard File Dialog"}) {
        QAction* action = menuAction(*test.frame, {"&Options", entry});
        QVERIFY(action && action->isCheckable());
        QVERIFY(!action->isChecked());
    }
}

void MainFrameTest::toggledOptionIsStoredAsOneAtExit() {
    {
        TestFrame test = makeFrame();
        menuAction(*test.frame, {"&Options", "&Ask for HTML Tag Definition File"})->trigger();
        QVERIFY(test.frame->options().askForTagFile);
        QSettings before("Tessel", "TesselFilterPack");
        QVERIFY2(!before.contains("Settings/AskForTagFile"), "written before the exit");
        QVERIFY(test.frame->close());
    }
    QSettings stored("Tessel", "TesselFilterPack");
    QCOMPARE(stored.value("Settings/AskForTagFile").toString(), QString("1"));
    QCOMPARE(stored.value("Settings/OverwriteExistingFiles").toString(), QString("0"));
    QCOMPARE(stored.value("Settings/UseStandardFileDialog").toString(), QString("0"));

    TestFrame next = makeFrame();
    QVERIFY(next.frame->options().askForTagFile);
    QVERIFY(
        menuAction(*next.frame, {"&Options", "&Ask for HTML Tag Definition File"})->isChecked());
    QVERIFY(!next.frame->options().overwriteExistingFiles);
}

void MainFrameTest::optionsShowPromptsAndIndicators() {
    TestFrame test = makeFrame();
    CMainFrame& frame = *test.frame;
    QAction* overwrite = menuAction(frame, {"&Options", "&Overwrite Existing Files"});
    QCOMPARE(overwrite->statusTip(),
             QString("Check this to overwrite existing files without prompt."));
    QCOMPARE(menuAction(frame, {"&Options", "&Ask for HTML Tag Definition File"})->statusTip(),
             QString("Check this if you want to use a HTML tag definition file."));
    QCOMPARE(menuAction(frame, {"&Options", "&Use Standard File Dialog"})->statusTip(),
             QString("Check this to use the standard Windows File Dialogs"));

    // The message pane, one indicator per option and, after them, the two
    // of the encoding choices and the output folder's (shown only while
    // these are not the defaults).
    QList<QLabel*> panes =
        frame.statusBar()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(panes.size(), 7);
    panes = panes.mid(0, 4);
    auto shown = [&panes] {
        QStringList texts;
        for (QLabel* pane : panes) texts << pane->text();
        return texts;
    };
    QCOMPARE(shown(), (QStringList{"Ready", "", "", ""}));
    overwrite->trigger();
    menuAction(frame, {"&Options", "&Use Standard File Dialog"})->trigger();
    QCOMPARE(shown(), (QStringList{"Ready", "OVR", "", "STD"}));
    overwrite->trigger();
    QCOMPARE(shown(), (QStringList{"Ready", "", "", "STD"}));
}

void MainFrameTest::recentFilesKeepTheLastFiveAcrossRuns() {
    QTemporaryDir folder;
    QStringList paths;
    {
        TestFrame test = makeFrame();
        for (int i = 1; i <= 6; ++i) {
            QString path = folder.filePath(QString("log%1.err").arg(i));
            writeBytes(path, "line\r\n");
            QVERIFY(test.frame->openDocument(path));
            paths.prepend(QFileInfo(path).absoluteFilePath());
        }
        QCOMPARE(test.frame->recentFiles().paths(), paths.mid(0, 5));
        QVERIFY(test.frame->close());
    }
    TestFrame next = makeFrame();
    QStringList entries = menuEntries(*next.frame, {"&File"});
    QVERIFY(!entries.contains("Recent File"));
    QCOMPARE(entries.mid(8, 5), (QStringList{"&1 " + paths[0], "&2 " + paths[1], "&3 " + paths[2],
                                             "&4 " + paths[3], "&5 " + paths[4]}));
    // Choosing one opens it.
    menuAction(*next.frame, {"&File", "&3 " + paths[2]})->trigger();
    bool opened = false;
    for (CTesselFilterPackDoc* document : next.frame->documents()) {
        opened = opened || document->filePath() == paths[2];
    }
    QVERIFY(opened);
}

void MainFrameTest::aboutBoxShowsTheLibrary() {
    CAboutDlg about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.windowTitle(), QString("About Tessel Filter Pack"));
    QCOMPARE(about.findChild<QLabel*>("libraryName")->text(), QString("TESSEL_CAT.DLL"));
    QCOMPARE(about.findChild<QLabel*>("libraryVersion")->text(), QString("Version 1.09"));
    QVERIFY(!about.findChild<QLabel*>("libraryCopyright")->text().isEmpty());
    // The picture is painted inside its frame.
    QImage picture = about.findChild<QWidget*>("picture")->grab().toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 3) {
        for (int x = 0; x < picture.width(); x += 3) colours.insert(picture.pixel(x, y));
    }
    QVERIFY2(colours.size() >= 5, "the About picture is blank");
}

void MainFrameTest::splashClosesOnKeyClickOrTime() {
    QCOMPARE(CSplashWnd::kShowMilliseconds, 2000);
    TestFrame test = makeFrame();

    QPointer<CSplashWnd> byKey = showSplash(60000);
    QVERIFY(byKey->isVisible());
    QTest::keyClick(test.frame.get(), Qt::Key_Space);
    QTRY_VERIFY(byKey.isNull());

    QPointer<CSplashWnd> byClick = showSplash(60000);
    QTest::mouseClick(test.frame->menuBar(), Qt::LeftButton, {}, QPoint(400, 5));
    QTRY_VERIFY(byClick.isNull());

    QPointer<CSplashWnd> byTime = showSplash(30);
    QVERIFY(byTime->isVisible());
    QTRY_VERIFY(byTime.isNull());
}

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
