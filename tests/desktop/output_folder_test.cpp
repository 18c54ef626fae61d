// Options > Output Folder...: the choice and its dialog, the setting's round
// trip and indicator, and batches through the HTML menu whose outputs and
// error logs are moved into the folder by the tool's -o rules: nothing is
// left next to the inputs, a file there under the output's name stays, one
// in the folder is asked about, two inputs of one output name are refused
// for the second, and a folder that cannot be made ends the command.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTreeWidget>
#include <QtTest>

#include "desktop_test_support.h"
#include "log_document.h"
#include "output_folder_dialog.h"
#include "problems_list.h"

using namespace tessel::desktop;
using namespace tessel::desktop::testing;

namespace {

const QStringList kHtmlMarkUp{"H&TML", "&Mark Up Tags..."};
const QStringList kOutputFolderEntry{"&Options", "Output &Folder..."};

// A page the mark-up converts cleanly, and one whose unknown tags write an
// error log.
const QByteArray kCleanPage = "<html><body><p>Text</p></body></html>\n";
const QByteArray kPageWithLog = "<html><body><section><nav>Text</nav></section></body></html>\n";

QLabel* folderIndicator(CMainFrame& frame) {
    for (QLabel* pane :
         frame.statusBar()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (pane->text() == "DIR") return pane;
    }
    return nullptr;
}

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

}  // namespace

class OutputFolderTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void dialogOffersNextToInputsOrAFolder();
    void choiceIsStoredWithItsIndicator();
    void batchWritesIntoTheFolderOnly();
    void fileBesideTheInputStaysAndTheOutputStillArrives();
    void existingOutputInTheFolderIsAskedAbout();
    void secondInputOfOneOutputNameIsAProblem();
    void folderThatCannotBeMadeEndsTheCommand();

  private:
    void chooseFolder(const QString& folder) {
        test_.prompts->outputFolders << folder;
        QAction* entry = menuAction(*test_.frame, kOutputFolderEntry);
        QVERIFY(entry);
        entry->trigger();
    }
    void runHtmlMarkUp(const QStringList& files) {
        test_.prompts->batches << files;
        QAction* action = menuAction(*test_.frame, kHtmlMarkUp);
        QVERIFY(action && action->isEnabled());
        action->trigger();
    }
    QString inputs(const QString& name) const { return QDir(folder_->path()).filePath(name); }
    QString out(const QString& name = {}) const {
        return QDir(folder_->path()).filePath(name.isEmpty() ? "out" : "out/" + name);
    }

    std::unique_ptr<QTemporaryDir> settings_;
    std::unique_ptr<QTemporaryDir> folder_;
    TestFrame test_;
};

void OutputFolderTest::init() {
    settings_ = useTemporarySettings();
    folder_ = std::make_unique<QTemporaryDir>();
}

void OutputFolderTest::cleanup() {
    test_.frame.reset();
    folder_.reset();
    settings_.reset();
}

void OutputFolderTest::dialogOffersNextToInputsOrAFolder() {
    OutputFolderDialog beside(QString(), nullptr);
    QVERIFY(beside.besideInputsBox()->isChecked());
    QVERIFY(!beside.folderEdit()->isEnabled());
    QVERIFY(!beside.browseButton()->isEnabled());
    QCOMPARE(beside.folder(), QString());
    // A folder of one's own: OK waits for its name, which comes back
    // absolute and clean.
    beside.besideInputsBox()->setChecked(false);
    QVERIFY(beside.folderEdit()->isEnabled());
    QVERIFY(!beside.okButton()->isEnabled());
    beside.folderEdit()->setText(folder_->path() + "/a/../out/");
    QVERIFY(beside.okButton()->isEnabled());
    QCOMPARE(beside.folder(), out());
    // Checked again, the typed folder no longer counts.
    beside.besideInputsBox()->setChecked(true);
    QCOMPARE(beside.folder(), QString());

    OutputFolderDialog set(out(), nullptr);
    QVERIFY(!set.besideInputsBox()->isChecked());
    QCOMPARE(QDir::fromNativeSeparators(set.folderEdit()->text()), out());
    QCOMPARE(set.folder(), out());
}

void OutputFolderTest::choiceIsStoredWithItsIndicator() {
    {
        test_ = makeFrame();
        QVERIFY(!folderIndicator(*test_.frame));
        chooseFolder(out());
        QCOMPARE(test_.prompts->outputFolderStarts, QStringList{QString()});
        QCOMPARE(test_.frame->options().outputFolder, out());
        QLabel* indicator = folderIndicator(*test_.frame);
        QVERIFY(indicator && !indicator->isHidden());
        QCOMPARE(QDir::fromNativeSeparators(indicator->toolTip()), out());
        QVERIFY(test_.frame->close());
    }
    QCOMPARE(QSettings("Tessel", "TesselFilterPack").value("Settings/OutputFolder").toString(),
             out());
    {
        test_ = makeFrame();
        QCOMPARE(test_.frame->options().outputFolder, out());
        QVERIFY(folderIndicator(*test_.frame));
        // Cancelled: as it was; then next to the inputs, which is left out
        // of the settings.
        QAction* entry = menuAction(*test_.frame, kOutputFolderEntry);
        entry->trigger();
        QCOMPARE(test_.prompts->outputFolderStarts, QStringList{out()});
        QCOMPARE(test_.frame->options().outputFolder, out());
        chooseFolder(QString());
        QCOMPARE(test_.frame->options().outputFolder, QString());
        QVERIFY(!folderIndicator(*test_.frame));
        QVERIFY(test_.frame->close());
    }
    QVERIFY(!QSettings("Tessel", "TesselFilterPack").contains("Settings/OutputFolder"));
}

void OutputFolderTest::batchWritesIntoTheFolderOnly() {
    test_ = makeFrame();
    writeBytes(inputs("clean.htm"), kCleanPage);
    writeBytes(inputs("logged.htm"), kPageWithLog);
    chooseFolder(out());
    runHtmlMarkUp({inputs("clean.htm"), inputs("logged.htm")});

    // The folder is made, and holds both outputs and the log; nothing new
    // lies next to the inputs.
    QCOMPARE(entriesOf(out()), (QStringList{"clean.rtf", "logged.ERR", "logged.rtf"}));
    QCOMPARE(entriesOf(folder_->path()), (QStringList{"clean.htm", "logged.htm", "out"}));
    QVERIFY(readBytes(out("clean.rtf")).startsWith("{\\rtf"));
    QString report = logText(*test_.frame);
    QVERIFY2(report.contains("Written to " + out("clean.rtf")), qPrintable(report));
    QVERIFY2(report.contains("Written to " + out("logged.rtf")), qPrintable(report));

    // The problems list and the log window show the moved log.
    QTreeWidget* table = test_.frame->problemsList()->table();
    QCOMPARE(table->topLevelItemCount(), 1);
    QCOMPARE(table->topLevelItem(0)->data(0, Qt::UserRole).toString(), out("logged.ERR"));
    QStringList logWindows;
    for (CTesselFilterPackDoc* document : test_.frame->documents()) {
        if (document->isErrorLog()) logWindows << document->filePath();
    }
    QCOMPARE(logWindows, QStringList{out("logged.ERR")});
}

void OutputFolderTest::fileBesideTheInputStaysAndTheOutputStillArrives() {
    test_ = makeFrame();
    writeBytes(inputs("page.htm"), kCleanPage);
    writeBytes(inputs("page.rtf"), "the user's own file");
    chooseFolder(out());
    runHtmlMarkUp({inputs("page.htm")});

    QCOMPARE(readBytes(inputs("page.rtf")), QByteArray("the user's own file"));
    QVERIFY(readBytes(out("page.rtf")).startsWith("{\\rtf"));
    // The work folder of the copy the job ran on is gone.
    QCOMPARE(entriesOf(out()), QStringList{"page.rtf"});
    QCOMPARE(entriesOf(folder_->path()), (QStringList{"out", "page.htm", "page.rtf"}));
    QVERIFY(test_.prompts->questions.isEmpty());
    QCOMPARE(test_.frame->problemsList()->table()->topLevelItemCount(), 0);
}

void OutputFolderTest::existingOutputInTheFolderIsAskedAbout() {
    test_ = makeFrame();
    writeBytes(inputs("page.htm"), kCleanPage);
    QDir().mkpath(out());
    writeBytes(out("page.rtf"), "an earlier output");
    chooseFolder(out());

    // No: the folder's file stays, and the report says the output was not
    // written.
    runHtmlMarkUp({inputs("page.htm")});
    QCOMPARE(test_.prompts->questions.size(), 1);
    QVERIFY2(test_.prompts->questions.first().contains(out("page.rtf")),
             qPrintable(test_.prompts->questions.first()));
    QCOMPARE(readBytes(out("page.rtf")), QByteArray("an earlier output"));
    QVERIFY(!logText(*test_.frame).contains("Written to"));
    QVERIFY(!QFileInfo::exists(inputs("page.rtf")));

    // Yes replaces it.
    test_.prompts->yesNo << true;
    runHtmlMarkUp({inputs("page.htm")});
    QCOMPARE(test_.prompts->questions.size(), 2);
    QVERIFY(readBytes(out("page.rtf")).startsWith("{\\rtf"));

    // With Overwrite Existing Files nothing is asked.
    writeBytes(out("page.rtf"), "an earlier output");
    menuAction(*test_.frame, {"&Options", "&Overwrite Existing Files"})->trigger();
    runHtmlMarkUp({inputs("page.htm")});
    QCOMPARE(test_.prompts->questions.size(), 2);
    QVERIFY(readBytes(out("page.rtf")).startsWith("{\\rtf"));
    QCOMPARE(entriesOf(folder_->path()), (QStringList{"out", "page.htm"}));
}

void OutputFolderTest::secondInputOfOneOutputNameIsAProblem() {
    test_ = makeFrame();
    QDir().mkpath(inputs("a"));
    QDir().mkpath(inputs("b"));
    writeBytes(inputs("a/page.htm"), kCleanPage);
    writeBytes(inputs("b/page.htm"), "<html><body><p>Other</p></body></html>\n");
    chooseFolder(out());
    runHtmlMarkUp({inputs("a/page.htm"), inputs("b/page.htm")});

    // The first input's output stays; the second is refused and removed.
    QByteArray written = readBytes(out("page.rtf"));
    QVERIFY(written.contains("Text") && !written.contains("Other"));
    QVERIFY(!QFileInfo::exists(inputs("b/page.rtf")));
    QString report = logText(*test_.frame);
    QVERIFY2(report.contains(out("page.rtf") + " was written earlier in this run"),
             qPrintable(report));
    QCOMPARE(report.count("Written to"), 1);

    // It is a problem of the run without a log to open.
    ProblemsList& problems = *test_.frame->problemsList();
    QCOMPARE(problems.table()->topLevelItemCount(), 1);
    QTreeWidgetItem* row = problems.table()->topLevelItem(0);
    QCOMPARE(row->text(0), inputs("b/page.htm"));
    QCOMPARE(row->text(1), QString("-115"));
    QVERIFY2(row->text(2).contains("written earlier in this run"), qPrintable(row->text(2)));
    problems.table()->setCurrentItem(row);
    QVERIFY(!problems.openButton()->isEnabled());
}

void OutputFolderTest::folderThatCannotBeMadeEndsTheCommand() {
    test_ = makeFrame();
    writeBytes(inputs("page.htm"), kCleanPage);
    writeBytes(inputs("blocker"), "a file where the folder would go");
    const QString unusable = inputs("blocker/out");
    chooseFolder(unusable);
    runHtmlMarkUp({inputs("page.htm")});

    QString report = logText(*test_.frame);
    QVERIFY2(report.contains("The output folder " + QDir::toNativeSeparators(unusable) +
                             " cannot be used"),
             qPrintable(report));
    QVERIFY2(!report.contains("page.htm"), qPrintable(report));
    QCOMPARE(entriesOf(folder_->path()), (QStringList{"blocker", "page.htm"}));
    QVERIFY(!test_.frame->isRunning());
}

QTEST_MAIN(OutputFolderTest)
#include "output_folder_test.moc"
