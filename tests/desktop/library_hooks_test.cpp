// The library's dialogs in the desktop program, against the real library:
// the language dialog opened through its export and driven by its widgets,
// and a converter's message box shown as a Qt message box.
#include "library_hooks.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QtTest>
#include <thread>

#include "desktop_test_support.h"
#include "language_dialog.h"
#include "tessel_cat.h"

using namespace tessel::desktop;
using namespace tessel::desktop::testing;

namespace {

constexpr int kList = 1000;
constexpr int kCheckBox = 1004;
constexpr int kCharsetText = 1003;
constexpr int kOk = 1;
constexpr int kCancel = 2;

struct Controls {
    QComboBox* list;
    QCheckBox* checkBox;
    QLineEdit* text;
    QPushButton* ok;
    QPushButton* cancel;
};

Controls controlsOf(LanguageDialog& dialog) {
    return Controls{qobject_cast<QComboBox*>(dialog.control(kList)),
                    qobject_cast<QCheckBox*>(dialog.control(kCheckBox)),
                    qobject_cast<QLineEdit*>(dialog.control(kCharsetText)),
                    qobject_cast<QPushButton*>(dialog.control(kOk)),
                    qobject_cast<QPushButton*>(dialog.control(kCancel))};
}

struct ShownMessage {
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QPointer<QWidget> parent;
    QString parentName;  // the parent may be gone when the test looks
};

// Records the next message box and closes it with its OK button.
void recordMessage(ShownMessage& shown) {
    whenShown<QMessageBox>([&shown](QMessageBox& box) {
        QWidget* parent = box.parentWidget();
        shown =
            ShownMessage{box.text(), box.icon(), parent, parent ? parent->objectName() : QString()};
        box.button(QMessageBox::Ok)->click();
    });
}

}  // namespace

class LibraryHooksTest : public QObject {
    Q_OBJECT

  private slots:
    void dialogIsLaidOutFromTheTemplate();
    void charsetTextFollowsTheLanguageAndTheCheckBox();
    void okWithoutLanguageOrCharsetShowsTheMessages();
    void escapeAndCancelGiveCodePageZero();
    void noDialogOffTheWidgetThread();
    void converterMessageIsAQtMessageBox();
};

void LibraryHooksTest::dialogIsLaidOutFromTheTemplate() {
    QWidget owner;
    setLibraryDialogOwner(&owner);
    bool seen = false;
    whenShown<LanguageDialog>([&](LanguageDialog& dialog) {
        seen = true;
        QCOMPARE(dialog.windowTitle(), QString("Select Language"));
        QCOMPARE(dialog.parentWidget(), &owner);
        QVERIFY(dialog.isModal());
        QCOMPARE(dialog.font().family(), QString("MS Sans Serif"));
        QCOMPARE(dialog.font().pointSize(), 8);
        Controls c = controlsOf(dialog);
        QVERIFY(c.list && c.checkBox && c.text && c.ok && c.cancel);
        QCOMPARE(c.checkBox->text(), QString("Custom Character Set:"));
        QCOMPARE(c.ok->text(), QString("OK"));
        QCOMPARE(c.cancel->text(), QString("Cancel"));
        QVERIFY(c.ok->isDefault());
        QVERIFY(!c.cancel->isDefault());

        // A small dialog whose controls lie inside it without overlapping,
        // in the template's arrangement: the list across the top, the check
        // box left of the text, the buttons side by side below.
        QRect client = dialog.rect();
        QVERIFY2(client.width() > 200 && client.width() < 500,
                 qPrintable(QString::number(client.width())));
        QVERIFY(client.height() > 70 && client.height() < 200);
        QList<QWidget*> all{c.list, c.checkBox, c.text, c.ok, c.cancel};
        for (QWidget* one : all) {
            QVERIFY2(client.contains(one->geometry()), qPrintable(one->objectName()));
            for (QWidget* other : all) {
                if (one != other) QVERIFY(!one->geometry().intersects(other->geometry()));
            }
        }
        QVERIFY(c.list->geometry().bottom() < c.text->geometry().top());
        QVERIFY(c.checkBox->geometry().right() < c.text->geometry().left());
        QCOMPARE(c.list->geometry().right(), c.text->geometry().right());
        QVERIFY(c.text->geometry().bottom() < c.ok->geometry().top());
        QCOMPARE(c.ok->geometry().top(), c.cancel->geometry().top());
        QCOMPARE(c.ok->size(), c.cancel->size());

        // The list holds the library's languages in the library's order.
        QVERIFY(c.list->count() >= 90);
        QVERIFY(c.list->findText("Greek") >= 0 && c.list->findText("Japanese") >= 0);
        for (int i = 1; i < c.list->count(); ++i) {
            QVERIFY2(c.list->itemText(i - 1).compare(c.list->itemText(i), Qt::CaseInsensitive) <= 0,
                     qPrintable(c.list->itemText(i)));
        }
        c.cancel->click();
    });
    unsigned codePage = 1252;
    QVERIFY(gf_pszGetCodepageFromLanguageDialog(&codePage) == nullptr);
    QVERIFY(seen);
    setLibraryDialogOwner(nullptr);
}

void LibraryHooksTest::charsetTextFollowsTheLanguageAndTheCheckBox() {
    whenShown<LanguageDialog>([](LanguageDialog& dialog) {
        Controls c = controlsOf(dialog);
        // Preselected with 1252: a 1252 language and its charset name; the
        // text is the library's until the box is checked.
        QVERIFY(c.list->currentIndex() >= 0);
        QCOMPARE(c.list->currentData().toUInt(), 1252u);
        QCOMPARE(c.text->text(), QString("iso-8859-1"));
        QVERIFY(!c.text->isEnabled());
        QVERIFY(!c.checkBox->isChecked());

        c.list->setFocus();
        int before = c.list->currentIndex();
        QTest::keyClick(c.list, Qt::Key_Down);
        QCOMPARE(c.list->currentIndex(), before + 1);
        QCOMPARE(c.list->currentData().toUInt() == 1252u, c.text->text() == "iso-8859-1");

        c.list->setCurrentIndex(c.list->findText("Japanese"));
        QCOMPARE(c.text->text(), QString("shift_jis"));
        c.list->setCurrentIndex(c.list->findText("Russian"));
        QCOMPARE(c.text->text(), QString("Windows-1251"));

        QTest::mouseClick(c.checkBox, Qt::LeftButton);
        QVERIFY(c.checkBox->isChecked());
        QVERIFY(c.text->isEnabled());
        QCOMPARE(c.text->text(), QString("Windows-1251"));  // kept for editing
        c.text->selectAll();
        QTest::keyClicks(c.text, "koi8-r");
        QCOMPARE(c.text->text(), QString("koi8-r"));
        // Another language keeps the user's text while the box is checked.
        c.list->setCurrentIndex(c.list->findText("Japanese"));
        QCOMPARE(c.text->text(), QString("koi8-r"));
        QTest::mouseClick(c.ok, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    });
    unsigned codePage = 1252;
    const char* charset = gf_pszGetCodepageFromLanguageDialog(&codePage);
    QVERIFY(charset);
    QCOMPARE(QString(charset), QString("koi8-r"));
    QCOMPARE(codePage, 932u);

    // Unchecking the box gives the text back to the library.
    whenShown<LanguageDialog>([](LanguageDialog& dialog) {
        Controls c = controlsOf(dialog);
        QCOMPARE(c.list->currentText(), QString("Greek"));
        QTest::mouseClick(c.checkBox, Qt::LeftButton);
        c.text->selectAll();
        QTest::keyClicks(c.text, "mine");
        QTest::mouseClick(c.checkBox, Qt::LeftButton);
        QVERIFY(!c.text->isEnabled());
        QCOMPARE(c.text->text(), QString("Windows-1253"));
        QTest::keyClick(c.list, Qt::Key_Return);  // Enter is OK
    });
    codePage = 1253;
    charset = gf_pszGetCodepageFromLanguageDialog(&codePage);
    QVERIFY(charset);
    QCOMPARE(QString(charset), QString("Windows-1253"));
    QCOMPARE(codePage, 1253u);
}

void LibraryHooksTest::okWithoutLanguageOrCharsetShowsTheMessages() {
    ShownMessage selectLanguage, specifyCharset;
    whenShown<LanguageDialog>([&](LanguageDialog& dialog) {
        Controls c = controlsOf(dialog);
        QCOMPARE(c.list->currentIndex(), -1);  // nothing preselected
        QCOMPARE(c.text->text(), QString());
        recordMessage(selectLanguage);
        QTest::mouseClick(c.ok, Qt::LeftButton);
        QVERIFY(dialog.isVisible());

        c.list->setCurrentIndex(c.list->findText("Greek"));
        QTest::mouseClick(c.checkBox, Qt::LeftButton);
        c.text->selectAll();
        QTest::keyClick(c.text, Qt::Key_Backspace);
        QCOMPARE(c.text->text(), QString());
        recordMessage(specifyCharset);
        QTest::mouseClick(c.ok, Qt::LeftButton);
        QVERIFY(dialog.isVisible());

        QTest::keyClicks(c.text, "x-greek");
        QTest::mouseClick(c.ok, Qt::LeftButton);
    });
    QCOMPARE(gf_uiGetCodepageFromLanguageDialog(), 1253u);
    QCOMPARE(selectLanguage.text, QString("You must select a language!"));
    QCOMPARE(selectLanguage.icon, QMessageBox::Information);
    QCOMPARE(specifyCharset.text, QString("You must specify a Code Page string!"));
    QCOMPARE(selectLanguage.parentName, QString("languageDialog"));
    QCOMPARE(specifyCharset.parentName, QString("languageDialog"));
}

void LibraryHooksTest::escapeAndCancelGiveCodePageZero() {
    auto chooseThen = [](auto close) {
        whenShown<LanguageDialog>([close](LanguageDialog& dialog) {
            Controls c = controlsOf(dialog);
            c.list->setCurrentIndex(c.list->findText("Greek"));
            close(dialog, c);
            QVERIFY(!dialog.isVisible());
        });
    };
    chooseThen([](LanguageDialog& dialog, Controls&) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    unsigned codePage = 1252;
    QVERIFY(gf_pszGetCodepageFromLanguageDialog(&codePage) == nullptr);
    QCOMPARE(codePage, 0u);

    chooseThen([](LanguageDialog&, Controls& c) { QTest::mouseClick(c.cancel, Qt::LeftButton); });
    codePage = 1252;
    QVERIFY(gf_pszGetCodepageFromLanguageDialog(&codePage) == nullptr);
    QCOMPARE(codePage, 0u);

    chooseThen([](LanguageDialog& dialog, Controls&) { dialog.close(); });
    QCOMPARE(gf_uiGetCodepageFromLanguageDialog(), 0u);
}

void LibraryHooksTest::noDialogOffTheWidgetThread() {
    // Off the widget thread the presenter declines; with no terminal the
    // library then cancels. Standard input is not a terminal meanwhile.
    int saved = ::dup(STDIN_FILENO);
    int null = ::open("/dev/null", O_RDONLY);
    ::dup2(null, STDIN_FILENO);
    ::close(null);
    unsigned codePage = 1252;
    const char* charset = reinterpret_cast<const char*>(1);
    std::thread worker([&] { charset = gf_pszGetCodepageFromLanguageDialog(&codePage); });
    worker.join();
    ::dup2(saved, STDIN_FILENO);
    ::close(saved);
    QVERIFY(charset == nullptr);
    QCOMPARE(codePage, 0u);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(tessel_present_language_dialog(nullptr), TESSEL_PRESENTER_UNAVAILABLE);
}

void LibraryHooksTest::converterMessageIsAQtMessageBox() {
    auto settings = useTemporarySettings();
    // The library's own box about an empty input, which the program by
    // default replaces with the report's line.
    std::unique_ptr<QSettings>(openSettings())
        ->setValue("Settings/ShowLibraryMessagesForUnreadableInputs", 1);
    QTemporaryDir folder;
    TestFrame test = makeFrame();
    QString empty = folder.filePath("empty.xtg");
    writeBytes(empty, {});
    ShownMessage shown;
    recordMessage(shown);
    test.prompts->batches << QStringList{empty};
    menuAction(*test.frame, {"&QuarkXPress", "&Mark Up Tags..."})->trigger();

    QCOMPARE(shown.text,
             "Error when creating QuarkXPress parser: SSLex0102e: Invalid file "
             "length or read error, " +
                 folder.filePath("empty.tmp") + ", 0");
    QCOMPARE(shown.icon, QMessageBox::Warning);
    QCOMPARE(shown.parent.data(), test.frame.get());
    QVERIFY(logText(*test.frame)
                .contains("Converting " + empty + "...\n" + empty +
                          " is empty: there is nothing in it to convert. [-1]\n"
                          "Error! Parsing of this file failed.\nMore info may be available in "
                          "the error log "
                          "file.\n\n"));
    QVERIFY(!QFileInfo::exists(folder.filePath("empty.tmp")));
}

QTEST_MAIN(LibraryHooksTest)
#include "library_hooks_test.moc"
