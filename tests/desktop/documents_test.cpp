// The documents: the log saved and opened as RTF (styles kept, any text
// escaped), RTF from the library and malformed RTF read safely, and error
// logs read and saved back in their own encoding with CR LF line ends; a
// large error log opens read-only and goes into its window in pieces.
#include <QSignalSpy>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

#include "child_frame.h"
#include "core/batch_shell.h"
#include "desktop_test_support.h"
#include "find_dialog.h"
#include "log_document.h"
#include "log_view.h"
#include "rtf_export.h"
#include "rtf_import.h"
#include "tessel_cat.h"
#include "text_document.h"
#include "windows_1252.h"

using namespace tessel::desktop;
using namespace tessel::desktop::testing;
using tessel::app::ReportStyle;

namespace {

QTextCharFormat formatOf(QTextDocument& document, const QString& text) {
    QTextCursor found = document.find(text);
    if (found.isNull()) qFatal("no %s", qPrintable(text));
    return found.charFormat();
}

}  // namespace

class DocumentsTest : public QObject {
    Q_OBJECT

  private slots:
    void logRoundTripsThroughRtfWithItsStyles();
    void anyTextSurvivesTheRtfRoundTrip();
    void libraryRtfShowsItsTextWithoutTables();
    void malformedRtfIsReadSafely_data();
    void malformedRtfIsReadSafely();
    void errorLogIsReadAndSavedBackInItsEncoding();
    void errorLogNamesAreKnownWhateverTheirCase();
    void logIsSavedAndOpenedThroughTheMenus();
    void windowsOfOneDocumentAreNumbered();
    void findAndReplaceWorkOnEditableViewsOnly();
    void largeErrorLogOpensReadOnlyInPieces();
};

void DocumentsTest::logRoundTripsThroughRtfWithItsStyles() {
    CTesselFilterPackDoc log;
    log.appendReport("Marking up HTML tags...\n\n", ReportStyle::Heading);
    log.appendReport("Converting /tmp/a {b}\\c.htm...\n19 change(s) made.\n\n",
                     ReportStyle::Normal);
    QByteArray rtf = toRtf(*log.textDocument());
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    QVERIFY(rtf.contains("Times New Roman;"));
    QVERIFY(rtf.contains("MS Sans Serif;"));
    QVERIFY(rtf.contains("\\fs30\\b\\ul "));
    QVERIFY(rtf.contains("\\fs15 "));
    QVERIFY(rtf.contains("a \\{b\\}\\\\c.htm"));

    QTextDocument back;
    QString error;
    QVERIFY(fromRtf(rtf, back, &error));
    QCOMPARE(back.toPlainText(), log.textDocument()->toPlainText());
    QTextCharFormat heading = formatOf(back, "Marking up");
    QCOMPARE(heading.fontFamilies().toStringList().value(0), QString("Times New Roman"));
    QCOMPARE(heading.fontPointSize(), 15.0);
    QCOMPARE(heading.fontWeight(), int(QFont::Bold));
    QVERIFY(heading.fontUnderline());
    QTextCharFormat line = formatOf(back, "19 change");
    QCOMPARE(line.fontFamilies().toStringList().value(0), QString("MS Sans Serif"));
    QCOMPARE(line.fontPointSize(), 7.5);
    QVERIFY(!line.fontUnderline());
    QCOMPARE(line.fontWeight(), int(QFont::Normal));
}

void DocumentsTest::anyTextSurvivesTheRtfRoundTrip() {
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat red;
    red.setForeground(QColor(200, 10, 10));
    red.setFontItalic(true);
    const QString text = QString::fromUtf8(
        "caf\xc3\xa9 \xe2\x82\xac 5\tnext\xc2\xa0word \xce\xa9 \xf0\x9f\x98\x80 "
        "\xe2\x80\x9cquoted\xe2\x80\x9d");
    cursor.insertText(text, red);
    cursor.insertBlock();
    cursor.insertText(QString("second") + QChar(QChar::LineSeparator) + "line");

    QByteArray rtf = toRtf(document);
    QVERIFY(rtf.contains("caf\\'e9 \\'80"));  // Windows 1252 as hex escapes
    QVERIFY(rtf.contains("\\u937?"));         // the rest as Unicode escapes
    QVERIFY(rtf.contains("{\\colortbl;\\red200\\green10\\blue10;}"));

    QTextDocument back;
    QVERIFY(fromRtf(rtf, back, nullptr));
    QCOMPARE(back.blockCount(), 2);
    QCOMPARE(back.firstBlock().text(), text);
    QCOMPARE(back.lastBlock().text(), QString("second") + QChar(QChar::LineSeparator) + "line");
    QTextCharFormat format = formatOf(back, "caf");
    QCOMPARE(format.foreground().color(), QColor(200, 10, 10));
    QVERIFY(format.fontItalic());
}

void DocumentsTest::libraryRtfShowsItsTextWithoutTables() {
    // The library's own mark-up output: the text and the tags show, in the
    // tags' font and colour; the font table and style sheet do not.
    QTemporaryDir folder;
    QStringList page = copyExamples(folder.path(), {"html/server_page.asp"});
    QCOMPARE(f_iHTML2RTF(QFile::encodeName(page[0]).constData(), ""), 19);
    QTextDocument document;
    QString error;
    QVERIFY(fromRtf(readBytes(folder.filePath("server_page.rtf")), document, &error));
    QString text = document.toPlainText();
    QVERIFY(text.startsWith("<%@ LANGUAGE=\"VBSCRIPT\" %>\n<%\n  Dim userName\n"));
    QVERIFY(text.contains("<H2>Welcome back, <%= userName %>!</H2>\n"));
    for (const char* table : {"qz4lex", "Courier New", "Normal;", "\\"}) {
        QVERIFY2(!text.contains(table), table);
    }
    QTextCharFormat internalTag = formatOf(document, "<FONT COLOR=\"red\">");
    QCOMPARE(internalTag.fontFamilies().toStringList().value(0), QString("Courier New"));
    QCOMPARE(internalTag.foreground().color(), QColor(255, 0, 0));
    QTextCharFormat translatable = formatOf(document, "Welcome back");
    QCOMPARE(translatable.fontFamilies().toStringList().value(0), QString("Times New Roman"));
    QCOMPARE(translatable.fontPointSize(), 10.0);
}

void DocumentsTest::malformedRtfIsReadSafely_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("text");
    QTest::newRow("not rtf") << QByteArray("<html>") << false << QString();
    QTest::newRow("empty") << QByteArray() << false << QString();
    QTest::newRow("unclosed") << QByteArray("{\\rtf1 open text") << true << QString("open text");
    QTest::newRow("cut hex") << QByteArray("{\\rtf1 ab\\'4") << true << QString("ab");
    QTest::newRow("bad hex") << QByteArray("{\\rtf1 ab\\'zz}") << true << QString("abzz");
    QTest::newRow("extra braces") << QByteArray("{\\rtf1 a}}}b") << true << QString("a");
    QTest::newRow("huge bin") << QByteArray("{\\rtf1 x\\bin999999999 yz}") << true << QString("x");
    QTest::newRow("negative unicode")
        << QByteArray("{\\rtf1 \\u-3913?}") << true << QString(QChar(0xF0B7));
    QTest::newRow("unicode skip") << QByteArray("{\\rtf1\\uc2 \\u937\\'4f\\'4fx}") << true
                                  << QString(QChar(0x03A9)) + "x";
    QTest::newRow("ignorable") << QByteArray("{\\rtf1 {\\*\\unknown hidden}shown}") << true
                               << QString("shown");
    QTest::newRow("hidden text") << QByteArray("{\\rtf1 a{\\v gone}b}") << true << QString("ab");
    QTest::newRow("long word") << QByteArray("{\\rtf1 \\") + QByteArray(5000, 'a') + " t}" << true
                               << QString();
    QTest::newRow("deep") << QByteArray("{\\rtf1 ") + QByteArray(100000, '{') << false << QString();
}

void DocumentsTest::malformedRtfIsReadSafely() {
    QFETCH(QByteArray, rtf);
    QFETCH(bool, accepted);
    QFETCH(QString, text);
    QTextDocument document;
    QString error;
    QCOMPARE(fromRtf(rtf, document, &error), accepted);
    if (!accepted) {
        QVERIFY(!error.isEmpty());
        return;
    }
    if (!text.isEmpty()) QCOMPARE(document.toPlainText(), text);
}

void DocumentsTest::errorLogIsReadAndSavedBackInItsEncoding() {
    QTemporaryDir folder;
    QString path = folder.filePath("page.ERR");
    // Windows 1252 with CR LF, a no-break space and a lone CR.
    writeBytes(path, "1: caf\xe9 \x80\xa0x\r\n2: line\rlast\r\n");
    CTesselTextDoc log;
    QString error;
    QVERIFY(log.openFile(path, &error));
    QCOMPARE(log.textDocument()->toPlainText(),
             QString::fromUtf8("1: caf\xc3\xa9 \xe2\x82\xac x\n2: line\nlast"));
    QVERIFY(!log.isModified());
    QCOMPARE(log.textDocument()->defaultFont().family(), QString("Courier New"));
    QCOMPARE(log.textDocument()->defaultFont().pointSizeF(), 10.0);

    QTextCursor end(log.textDocument());
    end.movePosition(QTextCursor::End);
    end.insertText(
        QString::fromUtf8("\n\xe2\x80\x9c"
                          "added\xe2\x80\x9d"));
    QVERIFY(log.isModified());
    QVERIFY(log.saveFile(path, &error));
    QCOMPARE(readBytes(path), QByteArray("1: caf\xe9 \x80\xa0x\r\n2: line\r\nlast\r\n\x93"
                                         "added\x94\r\n"));
    QVERIFY(!log.isModified());

    // A log in UTF-8 (quoting a UTF-8 input) stays UTF-8.
    QString utf8 = folder.filePath("utf8.err");
    writeBytes(utf8, "\xce\xa9 ok");
    CTesselTextDoc unicode;
    QVERIFY(unicode.openFile(utf8, &error));
    QCOMPARE(unicode.textDocument()->toPlainText(), QString::fromUtf8("\xce\xa9 ok"));
    QVERIFY(unicode.saveFile(utf8, &error));
    QCOMPARE(readBytes(utf8), QByteArray("\xce\xa9 ok"));

    // A file that cannot be read is reported, not shown empty.
    CTesselTextDoc missing;
    QVERIFY(!missing.openFile(folder.filePath("none.err"), &error));
    QVERIFY(!error.isEmpty());
}

void DocumentsTest::errorLogNamesAreKnownWhateverTheirCase() {
    for (const char* name : {"a.err", "a.ERR", "/x/a.Err", "a.eRr"}) {
        QVERIFY2(CTesselTextDoc::isErrorLogName(name), name);
    }
    for (const char* name : {"a.rtf", "a.errs", "err", "a.err.rtf"}) {
        QVERIFY2(!CTesselTextDoc::isErrorLogName(name), name);
    }
}

void DocumentsTest::logIsSavedAndOpenedThroughTheMenus() {
    auto settings = useTemporarySettings();
    QTemporaryDir folder;
    TestFrame test = makeFrame();
    CTesselFilterPackDoc* log = test.frame->newLog();
    log->appendReport("Summary of Markup\n\n", ReportStyle::Heading);
    log->appendReport("1 file read.\n", ReportStyle::Normal);
    QString saved = folder.filePath("report");
    test.prompts->savePaths << saved;
    menuAction(*test.frame, {"&File", "Save &As..."})->trigger();
    QCOMPARE(log->filePath(), saved + ".rtf");
    QVERIFY(!log->isModified());
    QVERIFY(readBytes(saved + ".rtf").startsWith("{\\rtf1"));
    QCOMPARE(log->title(), QString("report.rtf"));

    // Closing it and opening the file again shows the same report.
    menuAction(*test.frame, {"&File", "&Close"})->trigger();
    QTRY_VERIFY(!test.frame->documents().contains(log));
    test.prompts->openPaths << saved + ".rtf";
    menuAction(*test.frame, {"&File", "&Open..."})->trigger();
    CTesselFilterPackDoc* opened = test.frame->documents().last();
    QCOMPARE(opened->filePath(), saved + ".rtf");
    QVERIFY(!opened->isErrorLog());
    QCOMPARE(opened->textDocument()->toPlainText(), QString("Summary of Markup\n\n1 file read.\n"));

    // A file that is not RTF is refused with a message.
    writeBytes(folder.filePath("plain.rtf"), "plain");
    test.prompts->openPaths << folder.filePath("plain.rtf");
    int documents = test.frame->documents().size();
    menuAction(*test.frame, {"&File", "&Open..."})->trigger();
    QCOMPARE(test.frame->documents().size(), documents);
    QCOMPARE(test.prompts->messages.size(), 1);
    QVERIFY(test.prompts->messages[0].contains("This is not an RTF file."));
}

void DocumentsTest::windowsOfOneDocumentAreNumbered() {
    auto settings = useTemporarySettings();
    TestFrame test = makeFrame();
    CTesselFilterPackDoc* log = test.frame->newLog();
    QCOMPARE(log->title(), QString("Log1"));
    menuAction(*test.frame, {"&Window", "&New Window"})->trigger();
    QList<CChildFrame*> windows = test.frame->windowsOf(*log);
    QCOMPARE(windows.size(), 2);
    QCOMPARE(windows[0]->windowTitle(), QString("Log1:1[*]"));
    QCOMPARE(windows[1]->windowTitle(), QString("Log1:2[*]"));
    // Both show the one document: a report line appears in both.
    log->appendReport("shared\n", ReportStyle::Normal);
    QCOMPARE(windows[1]->view()->toPlainText(), QString("shared\n"));
    // Closing one window asks nothing; the other takes the plain title.
    windows[1]->close();
    QTRY_COMPARE(test.frame->windowsOf(*log).size(), 1);
    QVERIFY(test.prompts->saveQuestions.isEmpty());
    QCOMPARE(test.frame->windowsOf(*log)[0]->windowTitle(), QString("Log1[*]"));
    // Closing the last window of the modified log asks to save it.
    test.prompts->saveAnswers << SaveAnswer::Cancel;
    test.frame->windowsOf(*log)[0]->close();
    QCOMPARE(test.prompts->saveQuestions, QStringList{"Log1"});
    QCOMPARE(test.frame->windowsOf(*log).size(), 1);
}

void DocumentsTest::findAndReplaceWorkOnEditableViewsOnly() {
    QTextEdit view;
    view.setPlainText("Tag ABBR unknown.\nabbr again, ABBR once more.");
    FindDialog find(nullptr, [&view]() -> QTextEdit* { return &view; });

    find.setSearch("abbr", true);
    QVERIFY(find.findNext());
    QCOMPARE(view.textCursor().selectionStart(), 18);
    // The search wraps around to the top, and says when nothing matches.
    QVERIFY(find.findNext());
    QCOMPARE(view.textCursor().selectionStart(), 18);
    find.setSearch("missing");
    QVERIFY(!find.findNext());

    find.setSearch("abbr", false, true);
    QCOMPARE(find.replaceAll(), 3);
    view.setReadOnly(true);
    QCOMPARE(find.replaceAll(), 0);
    view.setReadOnly(false);
    // Replace All with the empty text removes every match, once.
    find.setSearch("unknown");
    QCOMPARE(find.replaceAll(), 1);
    QCOMPARE(view.toPlainText(), QString("Tag  .\n again,  once more."));
}

void DocumentsTest::largeErrorLogOpensReadOnlyInPieces() {
    auto settings = useTemporarySettings();
    QTemporaryDir folder;
    // 8 MB of numbered messages with CR LF line ends.
    QByteArray bytes;
    int lines = 0;
    while (bytes.size() < 8 * 1024 * 1024) {
        ++lines;
        bytes += "[" + QByteArray::number(lines) + "] Unknown tag <nav> in line " +
                 QByteArray::number(lines) + " of page.htm: the tag is left as text.\r\n";
    }
    ++lines;
    bytes += "last line of the log\r\n";
    const QString path = folder.filePath("big.err");
    writeBytes(path, bytes);
    const qsizetype characters = bytes.size() - lines - 1;  // no CRs, no final line end

    TestFrame test = makeFrame();
    auto* log = qobject_cast<CTesselTextDoc*>(test.frame->openDocument(path));
    QVERIFY(log);
    QSignalSpy progress(log, &CTesselTextDoc::loadProgressed);
    QSignalSpy completed(log, &CTesselTextDoc::loadCompleted);
    // Open at once with its first piece, read-only, the status bar saying
    // how far it is.
    QVERIFY(log->isLoading());
    QVERIFY(log->isReadOnly());
    QList<CChildFrame*> windows = test.frame->windowsOf(*log);
    QCOMPARE(windows.size(), 1);
    QVERIFY(windows[0]->view()->isReadOnly());
    QVERIFY(log->textDocument()->blockCount() < lines);
    QVERIFY2(test.frame->statusBar()->currentMessage().startsWith("Reading big.err..."),
             qPrintable(test.frame->statusBar()->currentMessage()));
    // Half a log is not saved over another file.
    const QString copy = folder.filePath("copy.err");
    test.prompts->savePaths << copy;
    menuAction(*test.frame, {"&File", "Save &As..."})->trigger();
    QCOMPARE(test.prompts->messages.size(), 1);
    QVERIFY2(test.prompts->messages[0].contains("still being read"),
             qPrintable(test.prompts->messages[0]));
    QVERIFY(!QFileInfo::exists(copy));

    QVERIFY(completed.wait(300000));
    QVERIFY2(progress.size() > 10, qPrintable(QString::number(progress.size())));
    QVERIFY(!log->isLoading());
    QCOMPARE(log->textDocument()->blockCount(), lines);
    QCOMPARE(log->textDocument()->characterCount() - 1, characters);
    QCOMPARE(log->textDocument()->lastBlock().text(), QString("last line of the log"));
    QCOMPARE(log->textDocument()->firstBlock().text(),
             QString("[1] Unknown tag <nav> in line 1 of page.htm: the tag is left as text."));
    QVERIFY(!log->isModified());
    QVERIFY(windows[0]->view()->isReadOnly());
    QCOMPARE(test.frame->statusBar()->currentMessage(), QString());
    // Complete, it saves back byte for byte.
    test.prompts->savePaths << copy;
    menuAction(*test.frame, {"&File", "Save &As..."})->trigger();
    QCOMPARE(readBytes(copy), bytes);

    // A small log opens whole and editable.
    const QString small = folder.filePath("small.err");
    writeBytes(small, "[1] one message\r\n");
    auto* smallLog = qobject_cast<CTesselTextDoc*>(test.frame->openDocument(small));
    QVERIFY(smallLog && !smallLog->isLoading() && !smallLog->isReadOnly());
    QCOMPARE(smallLog->textDocument()->toPlainText(), QString("[1] one message"));
    QVERIFY(!test.frame->windowsOf(*smallLog)[0]->view()->isReadOnly());
}

QTEST_MAIN(DocumentsTest)
#include "documents_test.moc"
