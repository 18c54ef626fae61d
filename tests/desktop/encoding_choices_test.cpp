// The encoding choices of the Options menu: their entries, letters and
// prompts, their settings round trip (a name the library refuses is
// dropped), the status-bar indicators, and runs through the menus that read
// an undeclared source and write a back-conversion in the chosen encodings.
#include "encoding_choices.h"

#include <QLabel>
#include <QSettings>
#include <QStatusBar>
#include <QtTest>

#include "desktop_test_support.h"
#include "tessel_cat.h"

using namespace tessel::desktop;
using namespace tessel::desktop::testing;

namespace {

const QString kOptions = "&Options";
const QString kSourceMenu = "Source &Encoding for Mark-Up";
const QString kTargetMenu = "Target Code &Page for Back-Conversions";
const QString kSourceDefault = "As the File Declares or the Format's &Default";
const QString kTargetDefault = "As the Document Declares or the Format's &Default";

// Windows 1250 bytes of "Zażółć gęślą".
const QByteArray kPolishPageMaker = "<PMTags1.0 win>\n<@Body:>Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9\n";

QByteArray crlf(QByteArray text) {
    return text.replace("\n", "\r\n");
}

QAction* sourceEntry(CMainFrame& frame, const QString& entry) {
    return menuAction(frame, {kOptions, kSourceMenu, entry});
}

QAction* targetEntry(CMainFrame& frame, const QString& entry) {
    return menuAction(frame, {kOptions, kTargetMenu, entry});
}

// The checked entries of a sub-menu.
QStringList checkedEntries(CMainFrame& frame, const QString& menu) {
    QStringList checked;
    for (const QString& entry : menuEntries(frame, {kOptions, menu})) {
        if (menuAction(frame, {kOptions, menu, entry})->isChecked()) checked << entry;
    }
    return checked;
}

// The texts of the visible status-bar panes after the message pane.
QStringList indicators(CMainFrame& frame) {
    QStringList shown;
    for (QLabel* pane :
         frame.statusBar()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!pane->isHidden() && !pane->text().isEmpty()) shown << pane->text();
    }
    shown.removeFirst();
    return shown;
}

void storeSettings(const QVariant& sourceEncoding, const QVariant& targetCodePage) {
    QSettings settings("Tessel", "TesselFilterPack");
    settings.setValue("Settings/SourceEncoding", sourceEncoding);
    settings.setValue("Settings/TargetCodePage", targetCodePage);
}

}  // namespace

class EncodingChoicesTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void subMenusOfferTheEncodingsWithPrompts();
    void choicesAreStoredAndRefusedOnesDropped();
    void markUpReadsAnUndeclaredSourceInTheChosenEncoding();
    void backConversionWritesTheChosenCodePage();

  private:
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

void EncodingChoicesTest::init() {
    settings_ = useTemporarySettings();
    folder_ = std::make_unique<QTemporaryDir>();
}

void EncodingChoicesTest::cleanup() {
    test_.frame.reset();
    folder_.reset();
    settings_.reset();
    f_iSetSourceEncoding(nullptr);
    f_iSetTargetCodePage(0);
}

void EncodingChoicesTest::subMenusOfferTheEncodingsWithPrompts() {
    test_ = makeFrame();
    CMainFrame& frame = *test_.frame;
    // Each entry of the source sub-menu names an encoding the library reads.
    QStringList source = menuEntries(frame, {kOptions, kSourceMenu});
    QCOMPARE(source.size(), 22);
    QCOMPARE(source.first(), kSourceDefault);
    for (const EncodingEntry& entry : sourceEncodingEntries()) {
        QVERIFY2(f_iSetSourceEncoding(entry.name.toUtf8().constData()) == 0,
                 qPrintable(entry.name));
    }
    QStringList target = menuEntries(frame, {kOptions, kTargetMenu});
    QCOMPARE(target.size(), 12);
    QCOMPARE(target.first(), kTargetDefault);
    QCOMPARE(target.last(), QString("65001 &UTF-8"));

    // Nothing stored: the defaults, and no indicator.
    QCOMPARE(checkedEntries(frame, kSourceMenu), QStringList{kSourceDefault});
    QCOMPARE(checkedEntries(frame, kTargetMenu), QStringList{kTargetDefault});
    QCOMPARE(indicators(frame), QStringList());

    QCOMPARE(sourceEntry(frame, "1250 &Central European")->statusTip(),
             QString("Check this to read sources that declare no encoding as 1250 Central "
                     "European when marking up."));
    QCOMPARE(targetEntry(frame, "65001 &UTF-8")->statusTip(),
             QString("Check this to write documents that declare no encoding in code page 65001 "
                     "UTF-8 when converting back."));
    QVERIFY(!sourceEntry(frame, kSourceDefault)->statusTip().isEmpty());
    QVERIFY(!menuAction(frame, {kOptions, kTargetMenu})->statusTip().isEmpty());

    // Each entry checks alone and shows in the status bar until the
    // default is chosen again.
    sourceEntry(frame, "Shift_JIS &Japanese")->trigger();
    targetEntry(frame, "1250 &Central European")->trigger();
    QCOMPARE(checkedEntries(frame, kSourceMenu), QStringList{"Shift_JIS &Japanese"});
    QCOMPARE(indicators(frame), (QStringList{"IN SHIFT_JIS", "OUT 1250"}));
    sourceEntry(frame, "1257 &Baltic")->trigger();
    QCOMPARE(frame.options().sourceEncoding, QString("windows-1257"));
    QCOMPARE(indicators(frame), (QStringList{"IN 1257", "OUT 1250"}));
    targetEntry(frame, kTargetDefault)->trigger();
    QCOMPARE(checkedEntries(frame, kTargetMenu), QStringList{kTargetDefault});
    QCOMPARE(frame.options().targetCodePage, 0u);
    QCOMPARE(indicators(frame), QStringList{"IN 1257"});
}

void EncodingChoicesTest::choicesAreStoredAndRefusedOnesDropped() {
    storeSettings("windows-1250", 1250);
    {
        test_ = makeFrame();
        CMainFrame& frame = *test_.frame;
        QCOMPARE(frame.options().sourceEncoding, QString("windows-1250"));
        QCOMPARE(frame.options().targetCodePage, 1250u);
        QCOMPARE(checkedEntries(frame, kSourceMenu), QStringList{"1250 &Central European"});
        QCOMPARE(checkedEntries(frame, kTargetMenu), QStringList{"1250 &Central European"});
        QCOMPARE(indicators(frame), (QStringList{"IN 1250", "OUT 1250"}));
        sourceEntry(frame, "&UTF-8")->trigger();
        targetEntry(frame, kTargetDefault)->trigger();
        QVERIFY(frame.close());
    }
    {
        QSettings stored("Tessel", "TesselFilterPack");
        QCOMPARE(stored.value("Settings/SourceEncoding").toString(), QString("utf-8"));
        QVERIFY2(!stored.contains("Settings/TargetCodePage"), "the default is left out");
    }
    test_ = makeFrame();
    QCOMPARE(test_.frame->options().sourceEncoding, QString("utf-8"));
    QCOMPARE(checkedEntries(*test_.frame, kTargetMenu), QStringList{kTargetDefault});
    test_.frame.reset();

    // A name the library does not read and a code page the menu lacks give
    // the defaults, which are what is stored again.
    storeSettings("no-such-encoding", 437);
    test_ = makeFrame();
    QCOMPARE(test_.frame->options().sourceEncoding, QString());
    QCOMPARE(test_.frame->options().targetCodePage, 0u);
    QCOMPARE(checkedEntries(*test_.frame, kSourceMenu), QStringList{kSourceDefault});
    QCOMPARE(indicators(*test_.frame), QStringList());
    QVERIFY(test_.frame->close());
    QSettings stored("Tessel", "TesselFilterPack");
    QVERIFY(!stored.contains("Settings/SourceEncoding"));
    QVERIFY(!stored.contains("Settings/TargetCodePage"));
}

void EncodingChoicesTest::markUpReadsAnUndeclaredSourceInTheChosenEncoding() {
    test_ = makeFrame();
    test_.frame->newLog();
    const QStringList markUp{"H&TML", "&Mark Up Tags..."};
    const QString page = folder_->filePath("cz.htm");
    const QString rtf = folder_->filePath("cz.rtf");
    writeBytes(page,
               "<p>\xB3\xF3"
               "d\xBF</p>\r\n");  // "łódż" in Windows 1250
    menuAction(*test_.frame, {kOptions, "&Overwrite Existing Files"})->trigger();

    sourceEntry(*test_.frame, "1250 &Central European")->trigger();
    run(markUp, {page});
    QVERIFY2(readBytes(rtf).contains("\\u322?\xF3"
                                     "d\\u380?"),
             readBytes(rtf).constData());
    QVERIFY2(logText(*test_.frame).contains("Read as code page 1250 (the encoding chosen)"),
             qPrintable(logText(*test_.frame)));

    // Back to the default: not UTF-8, so read as Windows 1252, the bytes as
    // they are.
    sourceEntry(*test_.frame, kSourceDefault)->trigger();
    QString before = logText(*test_.frame);
    run(markUp, {page});
    QString lastRun = logText(*test_.frame).mid(before.size());
    QVERIFY2(readBytes(rtf).contains("<p>}\xB3\xF3"
                                     "d\xBF"),
             readBytes(rtf).constData());
    QVERIFY2(!lastRun.contains("Read as"), qPrintable(lastRun));
}

void EncodingChoicesTest::backConversionWritesTheChosenCodePage() {
    test_ = makeFrame();
    test_.frame->newLog();
    CMainFrame& frame = *test_.frame;
    const QString source = folder_->filePath("doc.pm6");
    const QString rtf = folder_->filePath("doc.RTF");
    const QString back = folder_->filePath("doc.txt");
    writeBytes(source, kPolishPageMaker);
    sourceEntry(frame, "1250 &Central European")->trigger();
    run({"&PageMaker", "&Mark Up Tags..."}, {source});
    QVERIFY2(readBytes(rtf).contains("Za\\u380?\xF3\\u322?\\u263? g\\u281?\\u347?l\\u261?"),
             readBytes(rtf).constData());

    // Without a target code page the letters 1252 lacks come back as tags.
    const QStringList backConversion{"&PageMaker", "&RTF -> Text..."};
    run(backConversion, {rtf});
    QVERIFY2(readBytes(back).contains("Za<\\#380>\xF3<\\#322>"), readBytes(back).constData());

    QVERIFY(QFile::remove(back));
    targetEntry(frame, "1250 &Central European")->trigger();
    run(backConversion, {rtf});
    QCOMPARE(readBytes(back), crlf(kPolishPageMaker));
}

QTEST_MAIN(EncodingChoicesTest)
#include "encoding_choices_test.moc"
