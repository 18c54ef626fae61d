// Files and folders dropped onto the main window: a dropped folder starts a
// batch of its files through the command their names call for, a name that
// several commands take asks which (and a cancelled question converts
// nothing), and files of different kinds make one batch each.
#include <QDir>
#include <QMimeData>
#include <QtTest>

#include "desktop_test_support.h"
#include "dropped_files.h"

using namespace tessel::desktop;
using namespace tessel::desktop::testing;

class DropTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        settings_ = useTemporarySettings();
        folder_ = std::make_unique<QTemporaryDir>();
        test_ = makeFrame();
        test_.frame->newLog();
    }
    void cleanup() {
        test_.frame.reset();
        folder_.reset();
        settings_.reset();
    }

    void commandsAreFoundByTheFilesName();
    void droppedFolderStartsABatch();
    void ambiguousFilesAskWhichCommand();

  private:
    // Drops `paths` onto the frame as a file manager does.
    void drop(const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        QPoint at = test_.frame->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(test_.frame.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(test_.frame.get(), &dropped);
    }

    std::unique_ptr<QTemporaryDir> settings_;
    std::unique_ptr<QTemporaryDir> folder_;
    TestFrame test_;
};

void DropTest::commandsAreFoundByTheFilesName() {
    auto labels = [](const QString& name) {
        QStringList list;
        for (const tessel::app::Command* command : commandsForFile(name)) {
            list << commandLabel(*command);
        }
        return list;
    };
    QCOMPARE(labels("a/page.HTM"), QStringList{"HTML > Mark Up Tags..."});
    QCOMPARE(labels("story.xtg"), QStringList{"QuarkXPress > Mark Up Tags..."});
    QCOMPARE(labels("story.txt"), (QStringList{"Ventura > Version 4 > Mark Up Tags...",
                                               "Ventura > Version 5 Or Later > Mark Up Tags...",
                                               "PageMaker > Mark Up Tags..."}));
    QCOMPARE(labels("story.rtf").size(), 7);
    QVERIFY(labels("picture.png").isEmpty());
}

void DropTest::droppedFolderStartsABatch() {
    QString site = folder_->filePath("site");
    QVERIFY(QDir().mkpath(site + "/sub"));
    QStringList pages = copyExamples(site, {"html/product_page.htm"});
    pages << copyExamples(site + "/sub", {"html/product_page.htm"});
    writeBytes(site + "/notes.png", "not a page");
    drop({site});
    QTRY_VERIFY_WITH_TIMEOUT(logText(*test_.frame).contains("Summary of Markup"), 20000);
    QString log = logText(*test_.frame);
    QVERIFY2(log.startsWith("Marking up HTML tags...\n\n"), qPrintable(log));
    for (const QString& page : pages) QVERIFY(log.contains("Converting " + page + "..."));
    QVERIFY(!log.contains("notes.png"));
    QVERIFY(log.contains("2 File(s) Processed."));
    // No file choice was asked for.
    QVERIFY(test_.prompts->batchChoices.isEmpty());
    QVERIFY(test_.prompts->choiceQuestions.isEmpty());
}

void DropTest::ambiguousFilesAskWhichCommand() {
    QStringList story = copyExamples(folder_->path(), {"pagemaker/windows_sample.txt"});
    QStringList page = copyExamples(folder_->path(), {"html/product_page.htm"});
    // Cancelled: the text file is left alone, the page still converted.
    drop({story[0], page[0]});
    QTRY_VERIFY_WITH_TIMEOUT(logText(*test_.frame).contains("Summary of Markup"), 20000);
    QCOMPARE(
        test_.prompts->choiceQuestions,
        QStringList{"Which command should convert the 1 file(s) dropped (windows_sample.txt)?"});
    QCOMPARE(test_.prompts->choicesOffered[0].size(), 3);
    QVERIFY(!logText(*test_.frame).contains(story[0]));
    QVERIFY(logText(*test_.frame).contains("Converting " + page[0]));

    test_.prompts->choiceAnswers << "PageMaker > Mark Up Tags...";
    drop({story[0]});
    QTRY_VERIFY_WITH_TIMEOUT(logText(*test_.frame).contains("Marking up PageMaker tags..."), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(logText(*test_.frame).contains("Summary of Markup"), 20000);
    QVERIFY(logText(*test_.frame).contains("Converting " + story[0]));
}

QTEST_MAIN(DropTest)
#include "drop_test.moc"
