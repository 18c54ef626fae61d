// The conversion commands through the menus, against the real library, with
// a scripted user: every command on the examples, reports and summaries, the
// overwrite question, the tag definition file, the multilingual command's
// language dialog, the format groups' clearing of the log, and the error-log
// windows closed before and opened after a run.
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

#include "child_frame.h"
#include "desktop_test_support.h"
#include "language_dialog.h"
#include "log_document.h"
#include "log_view.h"

using namespace tessel::desktop;
using namespace tessel::desktop::testing;

namespace {

const QStringList kHtmlMarkUp{"H&TML", "&Mark Up Tags..."};
const QStringList kHtmlBack{"H&TML", "&RTF -> Text..."};
const QStringList kPageMakerMarkUp{"&PageMaker", "&Mark Up Tags..."};
const QStringList kHtmlMultiLingual{"H&TML", "RTF -> Text (Multi&Lingual)..."};

int count(const QString& text, const QString& part) {
    return static_cast<int>(text.count(part));
}

}  // namespace

class CommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void htmlMarkUpReportsEachFileAndOpensTheErrorLog();
    void reportStylesAreHeadingsAndLines();
    void overwriteNoKeepsTheOldOutput();
    void overwriteYesAndTheOptionReplaceTheOutput();
    void unopenableInputIsNotCountedAsRead();
    void convertedOkAndNoChanges();
    void everyCommandRunsOnTheExamples();
    void multilingualHtmlIsWrittenInTheChosenCodePage();
    void sameGroupKeepsTheLogAndAnotherClearsIt();
    void tagFileIsAskedAfterTheHeading();
    void batchChoiceUsesTheChosenDialogAndTheCommandsTexts();
    void errorLogWindowsOfTheChosenFilesCloseFirst();
    void closeAllErrorWindowsKeepsCancelledOnes();
    void xliffIsExtractedAndMergedFromTheFormatMenu();

  private:
    QAction* entry(const QStringList& path) { return menuAction(*test_.frame, path); }
    void run(const QStringList& path, const QStringList& files) {
        test_.prompts->batches << files;
        QAction* action = entry(path);
        QVERIFY2(action && action->isEnabled(), qPrintable(path.join('/')));
        action->trigger();
    }
    QString log() { return logText(*test_.frame); }
    QList<CTesselFilterPackDoc*> errorLogs() {
        QList<CTesselFilterPackDoc*> logs;
        for (CTesselFilterPackDoc* document : test_.frame->documents()) {
            if (document->isErrorLog()) logs << document;
        }
        return logs;
    }
    QString markedUpRtf(const QString& name);
    QString lastRun(const QString& heading);

    std::unique_ptr<QTemporaryDir> settings_;
    std::unique_ptr<QTemporaryDir> folder_;
    TestFrame test_;
};

void CommandsTest::init() {
    settings_ = useTemporarySettings();
    folder_ = std::make_unique<QTemporaryDir>();
    test_ = makeFrame();
    test_.frame->newLog();
}

void CommandsTest::cleanup() {
    test_.frame.reset();
    folder_.reset();
    settings_.reset();
}

QString CommandsTest::markedUpRtf(const QString& name) {
    QStringList html = copyExamples(folder_->path(), {"html/server_page.asp"});
    run(kHtmlMarkUp, html);
    QString rtf = folder_->filePath(name);
    QFile::rename(folder_->filePath("server_page.rtf"), rtf);
    return rtf;
}

void CommandsTest::htmlMarkUpReportsEachFileAndOpensTheErrorLog() {
    QStringList files =
        copyExamples(folder_->path(), {"html/product_page.htm", "html/server_page.asp"});
    run(kHtmlMarkUp, files);

    QString report = log();
    QString expectedStart = "Marking up HTML tags...\n\nConverting " + files[0] +
                            "...\nErrors Reported in the Error Log File!\n\nConverting " +
                            files[1] +
                            "...\n19 change(s) made.\n\n2 File(s) Processed.\n\n"
                            "Summary of Markup\n\n";
    QCOMPARE(report.left(expectedStart.size()), expectedStart);
    QVERIFY2(report.endsWith("\n\n2 files read.\n2 output files created.\n"
                             "1 Error Log File written.\n\n\n\n\n"),
             qPrintable(report.right(120)));
    QVERIFY(QFileInfo::exists(folder_->filePath("product_page.rtf")));

    // The run's one error log is open in an error-log window, read from its file.
    QList<CTesselFilterPackDoc*> logs = errorLogs();
    QCOMPARE(logs.size(), 1);
    QString errorLog = folder_->filePath("product_page.ERR");
    QCOMPARE(logs[0]->filePath(), QFileInfo(errorLog).absoluteFilePath());
    QByteArray bytes = readBytes(errorLog);
    bytes.replace("\r\n", "\n");
    QCOMPARE(logs[0]->textDocument()->toPlainText() + "\n", QString::fromLatin1(bytes));
    QCOMPARE(test_.frame->windowsOf(*logs[0]).size(), 1);
    QVERIFY(!logs[0]->textDocument()->isEmpty());
}

void CommandsTest::reportStylesAreHeadingsAndLines() {
    run(kHtmlMarkUp, copyExamples(folder_->path(), {"html/server_page.asp"}));
    QTextDocument* document = nullptr;
    for (CTesselFilterPackDoc* open : test_.frame->documents()) {
        if (!open->isErrorLog()) document = open->textDocument();
    }
    QVERIFY(document);
    auto formatAt = [document](const QString& text) {
        QTextCursor found = document->find(text);
        if (found.isNull()) qFatal("no %s in the log", qPrintable(text));
        return found.charFormat();
    };
    for (const char* heading : {"Marking up HTML tags...", "Summary of Markup"}) {
        QTextCharFormat format = formatAt(heading);
        QCOMPARE(format.fontFamilies().toStringList().value(0), QString("Times New Roman"));
        QCOMPARE(format.fontPointSize(), 15.0);
        QCOMPARE(format.fontWeight(), int(QFont::Bold));
        QVERIFY(format.fontUnderline());
        QVERIFY(!format.hasProperty(QTextFormat::ForegroundBrush));
    }
    for (const char* line : {"Converting ", "1 file read."}) {
        QTextCharFormat format = formatAt(line);
        QCOMPARE(format.fontFamilies().toStringList().value(0), QString("MS Sans Serif"));
        QCOMPARE(format.fontPointSize(), 7.5);
        QCOMPARE(format.fontWeight(), int(QFont::Normal));
        QVERIFY(!format.fontUnderline());
    }
    // The report is protected and keeps no undo steps.
    CChildFrame* window = test_.frame->windowsOf(*test_.frame->documents().first()).first();
    QVERIFY(window->view()->isReadOnly());
    QVERIFY(!document->isUndoRedoEnabled());
}

void CommandsTest::overwriteNoKeepsTheOldOutput() {
    QStringList files = copyExamples(folder_->path(), {"html/server_page.asp"});
    QString output = folder_->filePath("server_page.rtf");
    writeBytes(output, "older output");

    run(kHtmlMarkUp, files);

    QCOMPARE(
        test_.prompts->questions,
        QStringList{"A file named " + output + " already exists.\n\nDo you want to overwrite it?"});
    QCOMPARE(readBytes(output), QByteArray("older output"));
    QString report = log();
    QVERIFY(report.contains("Converting " + files[0] +
                            "...\nFile Error! RTF Output file already exists.\n\n"));
    QVERIFY(report.contains("1 file read.\nNo output files created.\nNo Error Log Files written."));
}

void CommandsTest::overwriteYesAndTheOptionReplaceTheOutput() {
    QStringList files = copyExamples(folder_->path(), {"html/server_page.asp"});
    QString output = folder_->filePath("server_page.rtf");
    writeBytes(output, "older output");
    test_.prompts->yesNo << true;
    run(kHtmlMarkUp, files);
    QCOMPARE(test_.prompts->questions.size(), 1);
    QVERIFY(readBytes(output).startsWith("{\\rtf1"));
    QVERIFY(log().contains("19 change(s) made.\n\n"));
    QVERIFY(log().contains("1 output file created."));

    // With "Overwrite Existing Files" on, nobody is asked.
    entry({"&Options", "&Overwrite Existing Files"})->trigger();
    writeBytes(output, "older output");
    run(kHtmlMarkUp, files);
    QCOMPARE(test_.prompts->questions.size(), 1);
    QVERIFY(readBytes(output).startsWith("{\\rtf1"));
}

void CommandsTest::unopenableInputIsNotCountedAsRead() {
    QString missing = folder_->filePath("missing.htm");
    run(kHtmlMarkUp, {missing});
    QVERIFY(
        log().contains("Converting " + missing + "...\n" + missing +
                       " could not be found. [-101]\nFile Error! Can not open input file.\n\n"));
    QVERIFY(log().contains("No files read.\nNo output files created."));
}

void CommandsTest::convertedOkAndNoChanges() {
    QString page = folder_->filePath("plain.htm");
    writeBytes(page, "Nothing but text.\r\n");
    run(kHtmlMarkUp, {page});
    QVERIFY(log().contains("Converting " + page + "...\nNo changes made!\n\n"));

    QString rtf = folder_->filePath("plain.rtf");
    QFile::rename(rtf, folder_->filePath("translated.rtf"));
    run(kHtmlBack, {folder_->filePath("translated.rtf")});
    QVERIFY(log().contains("Converting " + folder_->filePath("translated.rtf") +
                           "...\nFile converted OK.\n\n"));
    QCOMPARE(readBytes(folder_->filePath("translated.htm")), QByteArray("Nothing but text.\r\n"));
}

// The report of the last run of `heading`, with the summary's time replaced
// by "<time>".
QString CommandsTest::lastRun(const QString& heading) {
    QString report = log();
    qsizetype at = report.lastIndexOf(heading);
    if (at < 0) return QString("<no %1 in the log>").arg(heading);
    static const QRegularExpression time("\\d{2}/\\d{2}/\\d{4}, \\d{2}:\\d{2}:\\d{2}");
    return report.mid(at).replace(time, "<time>");
}

namespace {

// The report of a run of one file whose output was created.
QString oneFileRun(const QString& heading, const QString& file, const QString& result,
                   bool errorLog = false) {
    return heading + "\n\nConverting " + file + "...\n" + result +
           "\n\n1 File(s) Processed.\n\nSummary of Markup\n\n<time>\n\n"
           "1 file read.\n1 output file created.\n" +
           (errorLog ? "1 Error Log File written." : "No Error Log Files written.") + "\n\n\n\n\n";
}

}  // namespace

void CommandsTest::everyCommandRunsOnTheExamples() {
    // Each format's mark-up on its example, then the RTF back to text
    // commands of that format on a copy of what the mark-up wrote.
    struct Back {
        QStringList menu;
        const char* heading;
        const char* extension;
        const char* result = "File converted OK.";
        bool errorLog = false;
    };
    struct Format {
        const char* example;
        QStringList markUp;
        const char* heading;
        const char* result;
        const char* rtfExtension;
        QList<Back> backs;
    };
    const QList<Format> formats = {
        {"ventura/ventura4_sample.txt",
         {"Ve&ntura", "Version &4", "&Mark Up Tags..."},
         "Marking up Ventura 4 tags...",
         "29 Tags Marked Up.",
         ".RTF",
         {{{"Ve&ntura", "Version &4", "&RTF -> Text..."},
           "Converting RTF to Ventura 4 text...",
           ".txt"}}},
        {"ventura/ventura5_sample.txt",
         {"Ve&ntura", "Version &5 Or Later", "&Mark Up Tags..."},
         "Marking up Ventura 5 tags...",
         "30 Tags Marked Up.",
         ".RTF",
         {{{"Ve&ntura", "Version &5 Or Later", "&RTF -> Text..."},
           "Converting RTF to Ventura 5 text...",
           ".txt"}}},
        {"pagemaker/windows_sample.txt",
         kPageMakerMarkUp,
         "Marking up PageMaker tags...",
         "17 Tags Marked Up.",
         ".RTF",
         {{{"&PageMaker", "&RTF -> Text..."}, "Converting RTF to PageMaker text...", ".txt"}}},
        {"quark/windows_sample.xtg",
         {"&QuarkXPress", "&Mark Up Tags..."},
         "Marking up QuarkXPress tags...",
         "28 Tags Marked Up.",
         ".RTF",
         {{{"&QuarkXPress", "&RTF -> Text..."}, "Converting RTF to Quark XPress text...", ".xtg"}}},
        {"html/server_page.asp",
         kHtmlMarkUp,
         "Marking up HTML tags...",
         "19 change(s) made.",
         ".rtf",
         {{kHtmlBack, "Converting RTF to HTML...", ".htm"},
          {{"H&TML", "RTF -> Text (&Compatible)..."}, "Converting RTF to HTML...", ".htm"},
          // The server blocks of the page are no tags the charset step
          // knows: it logs them and still sets the declaration.
          {kHtmlMultiLingual, "Converting RTF to HTML...", ".htm",
           "Errors Reported in the Error Log File!", true}}},
    };
    int commands = 0;
    int number = 0;
    for (const Format& format : formats) {
        QString folder = folder_->filePath(QFileInfo(format.example).path());
        QDir().mkpath(folder);
        QString input = copyExamples(folder, {format.example}).first();
        run(format.markUp, {input});
        ++commands;
        QCOMPARE(lastRun(format.heading), oneFileRun(format.heading, input, format.result));
        QString rtf = QFileInfo(input).path() + "/" + QFileInfo(input).completeBaseName() +
                      format.rtfExtension;
        QVERIFY2(readBytes(rtf).startsWith("{\\rtf1"), qPrintable(rtf));

        for (const Back& back : format.backs) {
            QString copy = QString("%1/back%2.rtf").arg(folder).arg(++number);
            QVERIFY(QFile::copy(rtf, copy));
            if (back.menu == kHtmlMultiLingual) answerLanguageDialog("English (United States)");
            run(back.menu, {copy});
            ++commands;
            QCOMPARE(lastRun(back.heading),
                     oneFileRun(back.heading, copy, back.result, back.errorLog));
            QString output = QString("%1/back%2%3").arg(folder).arg(number).arg(back.extension);
            QVERIFY2(!readBytes(output).isEmpty(), qPrintable(output));
        }
    }
    QCOMPARE(commands, 12);
    // The multilingual page declares the charset of the code page chosen.
    QVERIFY(readBytes(folder_->filePath("html/back7.htm"))
                .contains("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                          "CHARSET=iso-8859-1\">"));
}

void CommandsTest::multilingualHtmlIsWrittenInTheChosenCodePage() {
    QString page = folder_->filePath("weather.htm");
    writeBytes(page,
               "<HTML>\r\n<HEAD>\r\n<TITLE>Weather</TITLE>\r\n</HEAD>\r\n<BODY>\r\n"
               "<P>Good morning</P>\r\n</BODY>\r\n</HTML>\r\n");
    run(kHtmlMarkUp, {page});
    // The translator's Greek, as an editor writes it: \uN with a fallback.
    QByteArray rtf = readBytes(folder_->filePath("weather.rtf"));
    QVERIFY(rtf.contains("}Weather{") && rtf.contains("}Good morning{"));
    rtf.replace("Weather", "\\u922?\\u945?\\u953?\\u961?\\u972?\\u962?");
    rtf.replace("Good morning",
                "\\u922?\\u945?\\u955?\\u951?\\u956?\\u941?\\u961?\\u945? "
                "\\u954?\\u972?\\u963?\\u956?\\u949?");
    QString translated = folder_->filePath("weather_el.rtf");
    writeBytes(translated, rtf);

    answerLanguageDialog("Greek");
    run(kHtmlMultiLingual, {translated});

    QCOMPARE(lastRun("Converting RTF to HTML..."),
             oneFileRun("Converting RTF to HTML...", translated, "File converted OK."));
    // Windows 1253 bytes, no character references, and the META line right
    // after the HEAD start tag.
    QCOMPARE(readBytes(folder_->filePath("weather_el.htm")),
             QByteArray("<HTML>\r\n<HEAD>\r\n"
                        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                        "CHARSET=Windows-1253\">\r\n"
                        "<TITLE>\xCA\xE1\xE9\xF1\xFC\xF2</TITLE>\r\n</HEAD>\r\n<BODY>\r\n"
                        "<P>\xCA\xE1\xEB\xE7\xEC\xDD\xF1\xE1 \xEA\xFC\xF3\xEC\xE5</P>\r\n"
                        "</BODY>\r\n</HTML>\r\n"));

    // The next run offers the code page of this one; cancelled, it ends
    // before the files are chosen.
    unsigned offered = 0;
    whenShown<LanguageDialog>([&offered](LanguageDialog& dialog) {
        auto* list = qobject_cast<QComboBox*>(dialog.control(1000));
        offered = list && list->currentIndex() >= 0 ? list->currentData().toUInt() : 0;
        dialog.reject();
    });
    int choices = test_.prompts->batchChoices.size();
    QString before = log();
    QAction* action = entry(kHtmlMultiLingual);
    QVERIFY(action);
    action->trigger();
    QCOMPARE(offered, 1253u);
    QCOMPARE(test_.prompts->batchChoices.size(), choices);
    QCOMPARE(log(), before);
}

void CommandsTest::sameGroupKeepsTheLogAndAnotherClearsIt() {
    QString rtf = markedUpRtf("kept.rtf");
    run(kHtmlBack, {rtf});
    // HTML mark-up and HTML back share the group: both runs are in the log.
    QCOMPARE(count(log(), "Summary of Markup"), 2);
    QVERIFY(log().startsWith("Marking up HTML tags..."));

    run(kPageMakerMarkUp, copyExamples(folder_->path(), {"pagemaker/windows_sample.txt"}));
    QVERIFY(log().startsWith("Marking up PageMaker tags...\n\n"));
    QCOMPARE(count(log(), "Summary of Markup"), 1);

    // A command whose file choice is cancelled leaves the log as it is.
    QString before = log();
    run(kHtmlMarkUp, {});
    QCOMPARE(log(), before);
}

void CommandsTest::tagFileIsAskedAfterTheHeading() {
    QStringList files = copyExamples(folder_->path(), {"html/product_page.htm", "html/tags.txt"});
    entry({"&Options", "&Ask for HTML Tag Definition File"})->trigger();
    test_.prompts->oneFiles << files[1];
    run(kHtmlMarkUp, {files[0]});

    QCOMPARE(test_.prompts->oneFileChoices.size(), 1);
    QCOMPARE(test_.prompts->oneFileChoices[0].title, QString("Select HTML Tag Definition File"));
    QCOMPARE(test_.prompts->oneFileChoices[0].filter,
             QString("Text Files|*.txt|All Files (*.*)|*.*||"));
    QVERIFY(log().startsWith("Marking up HTML tags...\n\nUsing Tag Definition File: " + files[1] +
                             "\nConverting " + files[0]));
    // The tag file knows the tag the built-in table lacks: no error log.
    QVERIFY(log().contains("No Error Log Files written."));
    QVERIFY(errorLogs().isEmpty());

    // Cancelled: the report says none is used and the page logs its tag.
    QFile::remove(folder_->filePath("product_page.rtf"));
    run(kHtmlMarkUp, {files[0]});
    QVERIFY(log().contains("Marking up HTML tags...\n\nNo Tag Definition File Used.\nConverting "));
    QCOMPARE(errorLogs().size(), 1);
}

void CommandsTest::batchChoiceUsesTheChosenDialogAndTheCommandsTexts() {
    run({"&QuarkXPress", "&RTF -> Text..."}, {});
    run(kHtmlMarkUp, {});
    entry({"&Options", "&Use Standard File Dialog"})->trigger();
    run(kPageMakerMarkUp, {});
    const QList<AskedChoice>& asked = test_.prompts->batchChoices;
    QCOMPARE(asked.size(), 3);
    QCOMPARE(asked[0].title, QString("Select QuarkXPress RTF Files"));
    QCOMPARE(asked[0].filter, QString("RTF Files|*.rtf|All Files (*.*)|*.*||"));
    QVERIFY(!asked[0].standardDialog);
    QCOMPARE(asked[1].title, QString("Select HTML Files"));
    QCOMPARE(asked[1].filter, QString("HTML Files|*.htm*|All Files (*.*)|*.*||"));
    QCOMPARE(asked[2].title, QString("Select PageMaker Files"));
    QVERIFY(asked[2].standardDialog);
}

void CommandsTest::errorLogWindowsOfTheChosenFilesCloseFirst() {
    QStringList files = copyExamples(folder_->path(), {"html/product_page.htm"});
    run(kHtmlMarkUp, files);
    QCOMPARE(errorLogs().size(), 1);
    CTesselFilterPackDoc* errorLog = errorLogs().first();
    QTextCursor edit(errorLog->textDocument());
    edit.insertText("my note\n");
    QVERIFY(errorLog->isModified());
    entry({"&Options", "&Overwrite Existing Files"})->trigger();

    // Cancelling the save question ends the command before any file.
    test_.prompts->saveAnswers << SaveAnswer::Cancel;
    QString before = log();
    run(kHtmlMarkUp, files);
    QCOMPARE(test_.prompts->saveQuestions, QStringList{"product_page.ERR"});
    QCOMPARE(errorLogs(), QList<CTesselFilterPackDoc*>{errorLog});
    QString added = log().mid(before.size());
    QCOMPARE(added, QString("Marking up HTML tags...\n\n"));

    // Saving it first: the note reaches the file, the run writes the log
    // anew and its new window shows the new content.
    test_.prompts->saveAnswers << SaveAnswer::Save;
    run(kHtmlMarkUp, files);
    QCOMPARE(test_.prompts->saveQuestions.size(), 2);
    QCOMPARE(errorLogs().size(), 1);
    QVERIFY(errorLogs().first() != errorLog);
    QVERIFY(!errorLogs().first()->textDocument()->toPlainText().contains("my note"));
    QVERIFY(log().contains("1 Error Log File written."));
}

void CommandsTest::closeAllErrorWindowsKeepsCancelledOnes() {
    QString kept = folder_->filePath("kept.err");
    QString closed = folder_->filePath("closed.ERR");
    writeBytes(kept, "one\r\n");
    writeBytes(closed, "two\r\n");
    CTesselFilterPackDoc* keptLog = test_.frame->openDocument(kept);
    QVERIFY(keptLog && test_.frame->openDocument(closed));
    QTextCursor(keptLog->textDocument()).insertText("changed ");
    test_.prompts->saveAnswers << SaveAnswer::Cancel;

    entry({"&Window", "Close All &Error Windows"})->trigger();

    QCOMPARE(errorLogs(), QList<CTesselFilterPackDoc*>{keptLog});
    QCOMPARE(test_.prompts->saveQuestions, QStringList{"kept.err"});
    QCOMPARE(test_.frame->documents().size(), 2);  // the log stays
    QCOMPARE(readBytes(kept), QByteArray("one\r\n"));
}

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"

// The format menu's XLIFF entries run through the batch: the extraction
// writes NAME.xlf beside the source, the merge the file beside the XLIFF
// (here a page of another extension than the original's), and the report
// counts the units left untranslated.
void CommandsTest::xliffIsExtractedAndMergedFromTheFormatMenu() {
    QStringList page = copyExamples(folder_->path(), {"html/server_page.asp"});
    run({"H&TML", "E&xtract to XLIFF..."}, page);
    QString xlf = folder_->filePath("server_page.xlf");
    QVERIFY(QFileInfo::exists(xlf));
    QVERIFY2(log().contains("Extracting HTML text to XLIFF...\n\n"), qPrintable(log()));
    QVERIFY2(log().contains(" translation units extracted.\n"), qPrintable(log()));
    QVERIFY(readBytes(xlf).contains("<trans-unit id=\"1\""));

    run({"H&TML", "Mer&ge XLIFF..."}, {xlf});
    QString merged = folder_->filePath("server_page.htm");
    QVERIFY(QFileInfo::exists(merged));
    // Nothing was translated: the page comes back as the round trip writes it.
    QVERIFY(readBytes(merged).contains("<%"));
    QVERIFY2(log().contains("Merging XLIFF into HTML files...\n\n"), qPrintable(log()));
    QVERIFY2(log().contains(" translation units had no translation; their source text was kept.\n"),
             qPrintable(log()));
}
