// Every menu bar level and every menu, with a log window and with an error
// log active, gives each letter to one entry at most, so that an Alt key or
// a letter in an open menu always means one entry; the entries keep their
// words.
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include "desktop_test_support.h"
#include "log_document.h"

using namespace tessel::desktop;
using namespace tessel::desktop::testing;

namespace {

// The letter after a single "&" ("&&" is a plain ampersand), lower case;
// a null character for a text without one.
QChar mnemonicOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&') continue;
        if (text[i + 1] == u'&') {
            ++i;
            continue;
        }
        return text[i + 1].toLower();
    }
    return QChar();
}

QString wordsOf(QString text) {
    return text.replace(QStringLiteral("&&"), QStringLiteral("\x01"))
        .remove(u'&')
        .replace(u'\x01', u'&');
}

// The duplicates among `actions`, one line each: "where: 'x' in A, B".
void collectDuplicates(const QString& where, const QList<QAction*>& actions, QStringList& found,
                       int& menusWalked) {
    ++menusWalked;
    QMap<QChar, QStringList> owners;
    for (QAction* action : actions) {
        if (action->isSeparator() || !action->isVisible()) continue;
        QChar letter = mnemonicOf(action->text());
        if (!letter.isNull()) owners[letter] << action->text();
        if (QMenu* menu = action->menu()) {
            // A sub-menu is filled as it opens, as a user sees it.
            emit menu->aboutToShow();
            collectDuplicates(where + u'/' + action->text(), menu->actions(), found, menusWalked);
        }
    }
    for (auto it = owners.cbegin(); it != owners.cend(); ++it) {
        if (it.value().size() > 1) {
            found << QStringLiteral("%1: '%2' in %3").arg(where, it.key(), it.value().join(", "));
        }
    }
}

}  // namespace

class MnemonicsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { settings_ = useTemporarySettings(); }
    void cleanup() {
        test_.frame.reset();
        settings_.reset();
    }

    void walkerFindsADuplicate();
    void noMenuLevelGivesALetterTwice();
    void menusKeepTheirWords();

  private:
    QStringList duplicates(int& menusWalked) {
        QStringList found;
        menusWalked = 0;
        collectDuplicates(QStringLiteral("menu bar"), test_.frame->menuBar()->actions(), found,
                          menusWalked);
        return found;
    }

    std::unique_ptr<QTemporaryDir> settings_;
    TestFrame test_;
};

void MnemonicsTest::walkerFindsADuplicate() {
    QMenu menu;
    menu.addAction("&Open");
    menu.addAction("Save &As");
    menu.addAction("&Others");
    menu.addAction("Cut && &Paste");
    menu.addAction("&Print");
    QStringList found;
    int walked = 0;
    collectDuplicates("test", menu.actions(), found, walked);
    QCOMPARE(found,
             (QStringList{"test: 'o' in &Open, &Others", "test: 'p' in Cut && &Paste, &Print"}));
    QCOMPARE(wordsOf("Cut && &Paste"), QString("Cut & Paste"));
}

void MnemonicsTest::noMenuLevelGivesALetterTwice() {
    test_ = makeFrame();
    QTemporaryDir folder;
    // Recent files and the window list add numbered entries.
    test_.frame->newLog();
    test_.frame->newLog();
    QString errorLog = folder.filePath("page.err");
    writeBytes(errorLog, "Error log\n");
    int walked = 0;
    QStringList found = duplicates(walked);
    QVERIFY2(found.isEmpty(), qPrintable(found.join('\n')));
    QVERIFY2(walked > 12, qPrintable(QString::number(walked)));

    // With an error log active the menus are the same.
    QVERIFY(test_.frame->openDocument(errorLog));
    found = duplicates(walked);
    QVERIFY2(found.isEmpty(), qPrintable(found.join('\n')));

    // Alt+V is View alone, Alt+H is Help alone.
    QStringList bar;
    for (QAction* action : test_.frame->menuBar()->actions()) {
        if (mnemonicOf(action->text()) == u'v' || mnemonicOf(action->text()) == u'h') {
            bar << action->text();
        }
    }
    QCOMPARE(bar, (QStringList{"&View", "&Help"}));
}

void MnemonicsTest::menusKeepTheirWords() {
    test_ = makeFrame();
    test_.frame->newLog();
    QStringList bar;
    for (QAction* action : test_.frame->menuBar()->actions()) bar << wordsOf(action->text());
    QCOMPARE(bar, (QStringList{"File", "Edit", "View", "Ventura", "PageMaker", "QuarkXPress",
                               "HTML", "Options", "Window", "Help"}));
    QStringList html;
    for (const QString& entry : menuEntries(*test_.frame, {"H&TML"})) html << wordsOf(entry);
    QCOMPARE(html.mid(0, 4), (QStringList{"Mark Up Tags...", "RTF -> Text (MultiLingual)...",
                                          "RTF -> Text...", "RTF -> Text (Compatible)..."}));
    QStringList ventura;
    for (const QString& entry : menuEntries(*test_.frame, {"Ve&ntura"})) ventura << wordsOf(entry);
    QCOMPARE(ventura, (QStringList{"Version 4", "Version 5 Or Later"}));
}

QTEST_MAIN(MnemonicsTest)
#include "mnemonics_test.moc"
