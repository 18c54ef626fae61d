// "Verify Translation..." and "Check Round Trip..." through the format menus,
// against the real library, with a scripted user: the entries and their
// texts, the file choices, the exact lines a clean and an edited pair and
// the examples' round trips write into the log, the log only ever appended
// to, and the format groups' clearing of the log.
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

#include "core/check_table.h"
#include "desktop_test_support.h"
#include "help_dialog.h"
#include "log_document.h"

using namespace tessel::desktop;
using namespace tessel::desktop::testing;

namespace {

const QStringList kHtmlMarkUp{"H&TML", "&Mark Up Tags..."};
const QStringList kHtmlVerify{"H&TML", "Verify &Translation..."};
const QStringList kHtmlRoundTrip{"H&TML", "Chec&k Round Trip..."};
const QStringList kPageMakerMarkUp{"&PageMaker", "&Mark Up Tags..."};
const QStringList kPageMakerVerify{"&PageMaker", "Verify &Translation..."};
const QStringList kPageMakerRoundTrip{"&PageMaker", "Chec&k Round Trip..."};
const QStringList kVentura5MarkUp{"Ve&ntura", "Version &5 Or Later", "&Mark Up Tags..."};
const QStringList kVentura5Verify{"Ve&ntura", "Version &5 Or Later", "Verify &Translation..."};
const QStringList kVentura4Back{"Ve&ntura", "Version &4", "&RTF -> Text..."};

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

class ChecksTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void entriesFollowTheCheckTable();
    void verifyOfACleanPairSaysSoAndAsksThroughTheBatchChoice();
    void editedTagRunIsOneFindingLineAppendedAsItComes();
    void translationsArePairedByName();
    void roundTripListsTheExamplesDifferences();
    void checksFollowTheGroupRuleOfTheirMenu();

  private:
    QAction* entry(const QStringList& path) { return menuAction(*test_.frame, path); }
    void run(const QStringList& path, const QList<QStringList>& choices) {
        test_.prompts->batches << choices;
        QAction* action = entry(path);
        QVERIFY2(action && action->isEnabled(), qPrintable(path.join('/')));
        action->trigger();
    }
    QString log() { return logText(*test_.frame); }
    QTextDocument* logDocument() {
        for (CTesselFilterPackDoc* document : test_.frame->documents()) {
            if (!document->isErrorLog()) return document->textDocument();
        }
        return nullptr;
    }
    // The HTML example marked up through the menu: its RTF.
    QString markedUp(const QString& example);

    std::unique_ptr<QTemporaryDir> settings_;
    std::unique_ptr<QTemporaryDir> folder_;
    TestFrame test_;
};

void ChecksTest::init() {
    settings_ = useTemporarySettings();
    folder_ = std::make_unique<QTemporaryDir>();
    test_ = makeFrame();
    test_.frame->newLog();
}

void ChecksTest::cleanup() {
    test_.frame.reset();
    folder_.reset();
    settings_.reset();
}

QString ChecksTest::markedUp(const QString& example) {
    QStringList copies = copyExamples(folder_->path(), {example});
    run(kHtmlMarkUp, {copies});
    QFileInfo source(copies.first());
    return source.path() + "/" + source.completeBaseName() + ".rtf";
}

void ChecksTest::entriesFollowTheCheckTable() {
    CMainFrame& frame = *test_.frame;
    const QStringList checks{"Verify &Translation...", "Chec&k Round Trip..."};
    const QStringList xliff{"E&xtract to XLIFF...", "Mer&ge XLIFF..."};
    QCOMPARE(menuEntries(frame, {"H&TML"}),
             (QStringList{"&Mark Up Tags...", "RTF -> Text (Multi&Lingual)...", "&RTF -> Text...",
                          "RTF -> Text (&Compatible)..."} +
              xliff + checks));
    for (const QStringList& menu : QList<QStringList>{{"Ve&ntura", "Version &4"},
                                                      {"Ve&ntura", "Version &5 Or Later"},
                                                      {"&PageMaker"},
                                                      {"&QuarkXPress"}}) {
        QCOMPARE(menuEntries(frame, menu),
                 (QStringList{"&Mark Up Tags...", "&RTF -> Text..."} + xliff + checks));
    }
    // A separator sets the checks apart from the conversion commands.
    QMenu* html = entry({"H&TML"})->menu();
    QVERIFY(html);
    QList<QAction*> actions = html->actions();
    qsizetype verifyAt = actions.indexOf(entry(kHtmlVerify));
    QVERIFY(verifyAt > 0 && actions[verifyAt - 1]->isSeparator());

    int rows = 0;
    for (const tessel::app::CheckCommand& check : tessel::app::checkTable()) {
        ++rows;
        QAction* action = entry(fromView(check.menuPath).split('/'));
        QVERIFY2(action, check.menuPath.data());
        QCOMPARE(action->isEnabled(), tessel::app::checkAvailable(check));
        QCOMPARE(action->statusTip(), fromView(tessel::app::checkStatusTip(check)));
    }
    QCOMPARE(rows, 10);
    QCOMPARE(entry(kHtmlVerify)->statusTip(),
             QString("Checks translated RTF files against their originals before they are "
                     "converted back to HTML."));
    QCOMPARE(entry(kPageMakerRoundTrip)->statusTip(),
             QString("Marks up PageMaker tagged text files, converts them back untranslated and "
                     "lists every difference."));
    // Help Topics lists them with the commands.
    QVERIFY(
        helpText().contains("<b>HTML &gt; Verify Translation...</b></td><td>Checks translated "
                            "RTF files against their originals"));
    QVERIFY(helpText().contains("<b>Ventura &gt; Version 4 &gt; Check Round Trip...</b>"));
}

void ChecksTest::verifyOfACleanPairSaysSoAndAsksThroughTheBatchChoice() {
    QString original = markedUp("html/server_page.asp");
    QDir().mkpath(folder_->filePath("de"));
    QString translated = folder_->filePath("de/server_page.rtf");
    QVERIFY(QFile::copy(original, translated));
    int asked = test_.prompts->batchChoices.size();

    run(kHtmlVerify, {{original}, {translated}});

    QString report = log();
    qsizetype at = report.indexOf("Verifying HTML translations...");
    QVERIFY2(at > 0, qPrintable(report));
    QCOMPARE(report.mid(at), "Verifying HTML translations...\n\nChecking " + translated +
                                 " against " + original +
                                 "...\nNo findings.\n\nSummary of Verification\n\n"
                                 "verify: no findings in 1 translation (13 paragraphs checked, "
                                 "back-conversion html)\n\n\n\n\n");
    // The mark-up's report is still there: same format group.
    QVERIFY(report.startsWith("Marking up HTML tags...\n\n"));

    // Both choices go through the batch choice of the conversion commands,
    // in the dialog the option selects.
    const QList<AskedChoice>& choices = test_.prompts->batchChoices;
    QCOMPARE(choices.size(), asked + 2);
    QCOMPARE(choices[asked].title, QString("Select Original HTML RTF Files"));
    QCOMPARE(choices[asked + 1].title, QString("Select Translated HTML RTF Files"));
    QCOMPARE(choices[asked + 1].filter, QString("RTF Files|*.rtf|All Files (*.*)|*.*||"));
    QVERIFY(!choices[asked].standardDialog && !choices[asked + 1].standardDialog);
    entry({"&Options", "&Use Standard File Dialog"})->trigger();
    run(kHtmlVerify, {{original}});  // the translations' choice is cancelled
    QCOMPARE(choices.size(), asked + 4);
    QVERIFY(choices[asked + 2].standardDialog && choices[asked + 3].standardDialog);
    QCOMPARE(log(), report);
}

void ChecksTest::editedTagRunIsOneFindingLineAppendedAsItComes() {
    QString original = markedUp("html/server_page.asp");
    QString edited = folder_->filePath("edited.rtf");
    QByteArray rtf = readBytes(original);
    QVERIFY(rtf.contains("<FONT COLOR=\"red\">"));
    rtf.replace("<FONT COLOR=\"red\">", "<FONT COLOR=\"blue\">");
    writeBytes(edited, rtf);

    QTextDocument* document = logDocument();
    QVERIFY(document);
    QStringList additions;
    int removed = 0;
    connect(document, &QTextDocument::contentsChange, this,
            [&](int position, int charsRemoved, int charsAdded) {
                removed += charsRemoved;
                additions << document->toPlainText().mid(position, charsAdded);
            });
    run(kHtmlVerify, {{original}, {edited}});
    disconnect(document, &QTextDocument::contentsChange, this, nullptr);

    const QString finding = edited +
                            ":9: changed-run: internal run \"<FONT COLOR=\"red\">\" reads "
                            "\"<FONT COLOR=\"blue\">\" at column 13, in \"<P>You have <FONT "
                            "COLOR=\"blue\"><%= Sessi…\"\n";
    QCOMPARE(removed, 0);
    QCOMPARE(additions,
             (QStringList{"Verifying HTML translations...\n\n",
                          "Checking " + edited + " against " + original + "...\n", finding,
                          "1 finding.\n\n", "Summary of Verification\n\n",
                          "verify: 1 finding in 1 of 1 translation (changed-run 1; 13 paragraphs "
                          "checked, back-conversion html)\n",
                          "\n\n\n\n"}));

    // In the log's styles: the heading large and bold, the finding plain.
    QTextCharFormat heading = document->find("Verifying HTML translations...").charFormat();
    QCOMPARE(heading.fontPointSize(), 15.0);
    QVERIFY(heading.fontUnderline());
    QTextCharFormat line = document->find("changed-run").charFormat();
    QCOMPARE(line.fontFamilies().toStringList().value(0), QString("MS Sans Serif"));
    QCOMPARE(line.fontPointSize(), 7.5);
    QCOMPARE(line.fontWeight(), int(QFont::Normal));
}

void ChecksTest::translationsArePairedByName() {
    QString server = markedUp("html/server_page.asp");
    QString product = markedUp("html/product_page.htm");
    QString translations = folder_->filePath("de");
    QDir().mkpath(translations);
    QVERIFY(QFile::copy(server, translations + "/server_page.rtf"));
    QVERIFY(QFile::copy(product, translations + "/product_page.rtf"));
    QVERIFY(QFile::copy(product, translations + "/extra.rtf"));

    run(kHtmlVerify, {{server, product},
                      {translations + "/extra.rtf", translations + "/product_page.rtf",
                       translations + "/server_page.rtf"}});

    QString report = log();
    QString start = "Verifying HTML translations...\n\n" + translations +
                    "/extra.rtf: no original extra.rtf among the chosen originals\n\nChecking " +
                    translations + "/product_page.rtf against " + product +
                    "...\nNo findings.\n\nChecking " + translations + "/server_page.rtf against " +
                    server + "...\nNo findings.\n\n";
    qsizetype at = report.indexOf("Verifying HTML translations...");
    QCOMPARE(report.mid(at, start.size()), start);
    QVERIFY(report.contains("verify: no findings in 2 translations ("));
}

void ChecksTest::roundTripListsTheExamplesDifferences() {
    QStringList page = copyExamples(folder_->path(), {"html/product_page.htm"});
    run(kHtmlRoundTrip, {page});
    const QString p = page.first();
    auto joined = [&p](const char* at, const char* output) {
        return p + ":" + at + ": joined-lines: \"\\n\" became \" \" (output " + output +
               "): a line break inside running text becomes a blank\n";
    };
    QCOMPARE(log(), "Checking the round trip of HTML files...\n\nChecking the round trip of " + p +
                        "...\n" + joined("21:66", "21:66") + joined("23:45", "22:45") +
                        joined("24:22", "22:67") + joined("31:36", "28:36") +
                        joined("34:8", "30:8") +
                        "\nSummary of Round Trip\n\nroundtrip: 1 file, 0 identical, 5 "
                        "differences (joined-lines 5)\n\n\n\n\n");
    // Nothing is written beside the source.
    QCOMPARE(QDir(folder_->path()).entryList(QDir::Files), QStringList{"product_page.htm"});

    // Another format's menu starts a new log.
    QStringList sample = copyExamples(folder_->path(), {"pagemaker/windows_sample.txt"});
    run(kPageMakerRoundTrip, {sample});
    const QString s = sample.first();
    QCOMPARE(log(), "Checking the round trip of PageMaker files...\n\nChecking the round trip of " +
                        s + "...\n" + s +
                        ":1:45: line-ends: \"\\n\" became \"\\r\\n\" at 8 line ends: line ends "
                        "are written as CR LF\n" +
                        s +
                        ":5:26: joined-tag-lines: \"\\n\" became \"\" (output 5:26): a tag "
                        "wrapped over lines is written on one line\n\nSummary of Round Trip\n\n"
                        "roundtrip: 1 file, 0 identical, 2 differences (joined-tag-lines 1, "
                        "line-ends 1)\n\n\n\n\n");
}

void ChecksTest::checksFollowTheGroupRuleOfTheirMenu() {
    auto count = [this](const QString& part) { return static_cast<int>(log().count(part)); };
    // HTML mark-up, then the HTML round trip: one group, both in the log.
    QString page = markedUp("html/server_page.asp");
    run(kHtmlRoundTrip, {{folder_->filePath("server_page.asp")}});
    QCOMPARE(count("Marking up HTML tags..."), 1);
    QCOMPARE(count("Checking the round trip of HTML files..."), 1);

    // PageMaker mark-up clears it; the PageMaker check keeps the mark-up's report.
    QStringList sample = copyExamples(folder_->path(), {"pagemaker/windows_sample.txt"});
    run(kPageMakerMarkUp, {sample});
    QString rtf = folder_->filePath("windows_sample.RTF");
    QVERIFY(QFileInfo::exists(rtf));
    run(kPageMakerVerify, {{rtf}, {rtf}});
    QVERIFY(log().startsWith("Marking up PageMaker tags...\n\n"));
    QVERIFY(log().contains("Verifying PageMaker translations...\n\nChecking " + rtf));
    QVERIFY(!log().contains("HTML"));

    // Ventura 5 mark-up leaves the group as it is; its menu's check belongs
    // to the Ventura group, as the menu's RTF -> Text command does.
    QStringList ventura = copyExamples(folder_->path(), {"ventura/ventura5_sample.txt"});
    run(kVentura5MarkUp, {ventura});
    QCOMPARE(count("Marking up PageMaker tags..."), 1);
    QCOMPARE(count("Marking up Ventura 5 tags..."), 1);
    QString venturaRtf = folder_->filePath("ventura5_sample.RTF");
    run(kVentura5Verify, {{venturaRtf}, {venturaRtf}});
    QVERIFY(log().startsWith("Verifying Ventura 5 translations...\n\n"));
    QVERIFY(log().contains("verify: no findings in 1 translation"));
    run(kVentura4Back, {});
    QCOMPARE(count("Verifying Ventura 5 translations..."), 1);

    // A check of another group whose file choice is cancelled leaves the
    // log as it is.
    QString before = log();
    run(kHtmlVerify, {});
    QCOMPARE(log(), before);
    QVERIFY(QFileInfo::exists(page));

    // After the runs the entries the core cannot run stay greyed out.
    for (const tessel::app::CheckCommand& check : tessel::app::checkTable()) {
        QCOMPARE(entry(fromView(check.menuPath).split('/'))->isEnabled(),
                 tessel::app::checkAvailable(check));
    }
}

QTEST_MAIN(ChecksTest)
#include "checks_test.moc"
