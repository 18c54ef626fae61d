// What a user is told when a run gives nothing: empty, missing and
// unreadable inputs in the user's words with the library's code, the log
// kept when a command's file choice is cancelled (and emptied at once with
// that option off), and the language dialog's labelled list starting on the
// locale's language.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QSettings>
#include <QtTest>

#include "desktop_test_support.h"
#include "language_dialog.h"
#include "log_document.h"

using namespace tessel::desktop;
using namespace tessel::desktop::testing;

namespace {

const QStringList kHtmlMarkUp{"H&TML", "&Mark Up Tags..."};
const QStringList kPageMakerMarkUp{"&PageMaker", "&Mark Up Tags..."};
const QStringList kVenturaMarkUp{"Ve&ntura", "Version &4", "&Mark Up Tags..."};
const QStringList kHtmlMultiLingual{"H&TML", "RTF -> Text (Multi&Lingual)..."};

}  // namespace

class InputFeedbackTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void emptyInputsAreNamedWithTheLibrarysCode();
    void missingAndFolderInputsSayWhy();
    void cancelledChoiceKeepsTheLogAndAReopenedLogStaysUnmodified();
    void clearingAtTheStartStaysAnOption();
    void languageListIsLabelledAndStartsOnTheLocalesLanguage();

  private:
    void run(const QStringList& path, const QStringList& files) {
        test_.prompts->batches << files;
        QAction* action = menuAction(*test_.frame, path);
        QVERIFY2(action && action->isEnabled(), qPrintable(path.join('/')));
        action->trigger();
    }
    QString log() { return logText(*test_.frame); }

    std::unique_ptr<QTemporaryDir> settings_;
    std::unique_ptr<QTemporaryDir> folder_;
    TestFrame test_;
};

void InputFeedbackTest::init() {
    settings_ = useTemporarySettings();
    folder_ = std::make_unique<QTemporaryDir>();
}

void InputFeedbackTest::cleanup() {
    test_.frame.reset();
    folder_.reset();
    settings_.reset();
    QLocale::setDefault(QLocale::c());
}

void InputFeedbackTest::emptyInputsAreNamedWithTheLibrarysCode() {
    test_ = makeFrame();
    test_.frame->newLog();
    QString pageMaker = folder_->filePath("empty_pm.txt");
    writeBytes(pageMaker, "");
    run(kPageMakerMarkUp, {pageMaker});
    // The library's own wording stays, after the user's.
    QVERIFY2(log().contains(pageMaker + " is empty: there is nothing in it to convert. [-1]\n"
                                        "Error! Parsing of this file failed.\n"),
             qPrintable(log()));

    QString ventura = folder_->filePath("empty_v4.txt");
    writeBytes(ventura, "");
    run(kVenturaMarkUp, {ventura});
    // The library's message about it is not shown (it would wait for an
    // answer here); its code stands in brackets instead.
    QVERIFY2(
        log().contains(ventura + " is empty: there is nothing in it to convert. [SSLex0102e]\n"),
        qPrintable(log()));

    // A file with text gets no such line.
    QStringList sample = copyExamples(folder_->path(), {"pagemaker/windows_sample.txt"});
    run(kPageMakerMarkUp, sample);
    QVERIFY(!log().contains(sample[0] + " is empty"));
    QVERIFY(!log().contains(sample[0] + " could not"));
}

void InputFeedbackTest::missingAndFolderInputsSayWhy() {
    test_ = makeFrame();
    test_.frame->newLog();
    QString missing = folder_->filePath("gone.htm");
    QString folder = folder_->filePath("pages.htm");
    QVERIFY(QDir().mkpath(folder));
    run(kHtmlMarkUp, {missing, folder});
    QVERIFY2(log().contains(missing + " could not be found. [-101]\n"), qPrintable(log()));
    QVERIFY2(log().contains(QRegularExpression(
                 QRegularExpression::escape(folder + " could not be read: it is a folder, not a "
                                                     "file. [") +
                 "-\\d+\\]\n")),
             qPrintable(log()));
    QVERIFY(log().contains("No files read.") || log().contains("1 file read."));
}

void InputFeedbackTest::cancelledChoiceKeepsTheLogAndAReopenedLogStaysUnmodified() {
    test_ = makeFrame();
    test_.frame->newLog();
    run(kPageMakerMarkUp, copyExamples(folder_->path(), {"pagemaker/windows_sample.txt"}));
    QString before = log();
    QVERIFY(before.startsWith("Marking up PageMaker tags..."));
    // Another group's command, cancelled: nothing is lost.
    run(kHtmlMarkUp, {});
    QCOMPARE(log(), before);

    CTesselFilterPackDoc* current = nullptr;
    for (CTesselFilterPackDoc* document : test_.frame->documents()) {
        if (!document->isErrorLog()) current = document;
    }
    QVERIFY(current);
    test_.prompts->savePaths << folder_->filePath("kept_log.rtf");
    QVERIFY(test_.frame->saveDocument(*current, true));
    test_.frame.reset();

    test_ = makeFrame();
    CTesselFilterPackDoc* reopened = test_.frame->openDocument(folder_->filePath("kept_log.rtf"));
    QVERIFY(reopened);
    QString saved = reopened->textDocument()->toPlainText();
    for (const QStringList& command : {kHtmlMarkUp, kPageMakerMarkUp, kHtmlMarkUp}) {
        run(command, {});
        QCOMPARE(reopened->textDocument()->toPlainText(), saved);
        QVERIFY(!reopened->isModified());
    }
}

void InputFeedbackTest::clearingAtTheStartStaysAnOption() {
    {
        std::unique_ptr<QSettings> settings(openSettings());
        settings->setValue("Settings/ClearLogOnlyWhenFilesChosen", 0);
    }
    test_ = makeFrame();
    test_.frame->newLog();
    run(kPageMakerMarkUp, copyExamples(folder_->path(), {"pagemaker/windows_sample.txt"}));
    QVERIFY(!log().isEmpty());
    run(kHtmlMarkUp, {});
    QCOMPARE(log(), QString());
    test_.frame.reset();
    std::unique_ptr<QSettings> settings(openSettings());
    QCOMPARE(settings->value("Settings/ClearLogOnlyWhenFilesChosen").toInt(), 0);
}

void InputFeedbackTest::languageListIsLabelledAndStartsOnTheLocalesLanguage() {
    QString rtf = folder_->filePath("page.rtf");
    writeBytes(rtf, "{\\rtf1\\ansi Text\\par}");
    for (const auto& [locale, expected] :
         {std::pair{QLocale(QLocale::English, QLocale::UnitedKingdom),
                    QString("English (United Kingdom)")},
          std::pair{QLocale(QLocale::Swedish, QLocale::Sweden), QString("Swedish")},
          // Russian is not written in 1252: the library's choice stands.
          std::pair{QLocale(QLocale::Russian, QLocale::Russia), QString()}}) {
        QLocale::setDefault(locale);
        test_ = makeFrame();
        test_.frame->newLog();
        QString shown;
        QString libraryFirst;
        whenShown<LanguageDialog>([&](LanguageDialog& dialog) {
            auto* list = qobject_cast<QComboBox*>(dialog.control(1000));
            QVERIFY(list);
            auto* label = dialog.findChild<QLabel*>("languageLabel");
            QVERIFY(label);
            QCOMPARE(label->text(), QString("&Language:"));
            QCOMPARE(label->buddy(), list);
            QVERIFY(label->geometry().bottom() <= list->geometry().top());
            shown = list->currentText();
            QVERIFY(list->currentIndex() >= 0);
            QCOMPARE(list->currentData().toUInt(), 1252u);
            dialog.reject();
        });
        run(kHtmlMultiLingual, {rtf});
        if (expected.isEmpty()) {
            QVERIFY2(!shown.startsWith("Russian"), qPrintable(shown));
        } else {
            QCOMPARE(shown, expected);
        }
        test_.frame.reset();
    }
}

QTEST_MAIN(InputFeedbackTest)
#include "input_feedback_test.moc"
