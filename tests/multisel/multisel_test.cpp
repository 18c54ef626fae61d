// The batch selection library: filters as the hosts write them, the file
// search (case, sub-folders, "*.*"), the exported set, and a real choice in
// its dialog through the desktop program's binding, answered by a script.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <cstdio>

#include "batch_dlg.h"
#include "file_filter.h"
#include "file_search.h"

using namespace tessel::multisel;
using tessel::desktop::CBatchDlg;

namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
}

QSet<QString> definedDynamicSymbols(const char* library) {
    QSet<QString> symbols;
    QByteArray command = QByteArray("nm -D --defined-only ") + library;
    FILE* pipe = popen(command.constData(), "r");
    if (pipe == nullptr) return symbols;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        QStringList fields = QString::fromLatin1(line).simplified().split(' ');
        if (fields.size() < 3) continue;
        QString name = fields[2];
        // The sanitizer runtimes' and the linker's own symbols are not ours.
        if (name.startsWith("__") || name == "_init" || name == "_fini" || name == "_end" ||
            name == "_edata") {
            continue;
        }
        symbols.insert(name);
    }
    pclose(pipe);
    return symbols;
}

// Runs `answer` on the dialog once it is shown.
void whenDialogShows(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || !dialog->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        answer(dialog);
    });
    timer->start();
}

}  // namespace

class MultiselTest : public QObject {
    Q_OBJECT

  private slots:
    void filtersParseAsTheHostsWriteThem();
    void wildcardsSplitAndMeanAllFiles();
    void searchIgnoresCaseAndRecursesOnRequest();
    void exportsExactlyItsFunctions();
    void dialogChoiceReachesTheHostAsFullPaths();
    void cancelledDialogChoosesNothing();
};

void MultiselTest::filtersParseAsTheHostsWriteThem() {
    QVector<FilterEntry> entries = parseFilter("RTF Files|*.rtf|All Files (*.*)|*.*||");
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0].description, QString("RTF Files"));
    QCOMPARE(entries[0].patterns, QString("*.rtf"));
    QCOMPARE(entries[1].patterns, QString("*.*"));
    QCOMPARE(parseFilter("RTF Files|*.rtf|All Files (*.*)|*.*").size(), 2);
    QCOMPARE(parseFilter("*.txt").value(0).patterns, QString("*.txt"));
    QVERIFY(parseFilter("").isEmpty());
    QCOMPARE(parseFilter("Broken||Text|*.txt").size(), 1);
}

void MultiselTest::wildcardsSplitAndMeanAllFiles() {
    QCOMPARE(wildcardsOf("*.htm*"), QStringList{"*.htm*"});
    QCOMPARE(wildcardsOf("*.txt; *.asc,*.tx"), (QStringList{"*.txt", "*.asc", "*.tx"}));
    QCOMPARE(wildcardsOf("*.*"), QStringList{"*"});
    QVERIFY(wildcardsOf("  ").isEmpty());
}

void MultiselTest::searchIgnoresCaseAndRecursesOnRequest() {
    QTemporaryDir folder;
    for (const char* name : {"b.rtf", "A.RTF", "c.txt", "sub/d.Rtf", "sub/deeper/e.rtf", "noext"}) {
        touch(folder.filePath(name));
    }
    QString root = QDir::cleanPath(folder.path());
    SearchResult top = findFiles(folder.path(), {"*.rtf"}, false);
    QCOMPARE(top.files, (QStringList{root + "/A.RTF", root + "/b.rtf"}));
    QVERIFY(!top.truncated);
    SearchResult all = findFiles(folder.path(), {"*.rtf"}, true);
    QCOMPARE(all.files.size(), 4);
    QVERIFY(all.files.contains(root + "/sub/deeper/e.rtf"));
    // "*.*" means every file, also those without an extension.
    QVERIFY(findFiles(folder.path(), wildcardsOf("*.*"), false).files.contains(root + "/noext"));
    SearchResult limited = findFiles(folder.path(), {"*"}, true, 2);
    QCOMPARE(limited.files.size(), 2);
    QVERIFY(limited.truncated);
    QVERIFY(findFiles(folder.filePath("missing"), {"*"}, true).files.isEmpty());
}

void MultiselTest::exportsExactlyItsFunctions() {
    QSet<QString> expected;
    for (const QString& name : QString(MULTISEL_HEADER_EXPORTS).split(',')) expected << name;
    // The 24 functions hosts bind, CreateDlg, and the three the desktop
    // program looks up where present to remember a batch's choices.
    QCOMPARE(expected.size(), 28);
    QCOMPARE(definedDynamicSymbols(MULTISEL_PATH), expected);
}

void MultiselTest::dialogChoiceReachesTheHostAsFullPaths() {
    QTemporaryDir folder;
    for (const char* name : {"one.rtf", "two.RTF", "skip.txt", "sub/three.rtf"}) {
        touch(folder.filePath(name));
    }
    QString root = QDir::cleanPath(folder.path());
    QString caption;
    QStringList types;
    QString filePattern;
    int listed = 0;
    whenDialogShows([&](QWidget* dialog) {
        caption = dialog->windowTitle();
        auto* type = dialog->findChild<QComboBox*>("fileType");
        for (int i = 0; i < type->count(); ++i) types << type->itemText(i);
        filePattern = dialog->findChild<QLineEdit*>("fileSpec")->text();
        dialog->findChild<QLineEdit*>("folder")->setText(folder.path());
        dialog->findChild<QCheckBox*>("subFolders")->setChecked(true);
        auto* files = dialog->findChild<QListWidget*>("files");
        listed = files->count();
        // The user leaves out one file.
        files->item(0)->setSelected(false);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    QStringList chosen;
    {
        CBatchDlg batch("Select HTML RTF Files", "RTF Files|*.rtf|All Files (*.*)|*.*||", 0,
                        nullptr, [](const QString& m) { QFAIL(qPrintable(m)); },
                        {QString(MULTISEL_DIR "/Multisel")});
        QVERIFY(batch.isUsable());
        QVERIFY(batch.showModal());
        chosen = batch.chosenFiles();
        QVERIFY(batch.nextFile().isEmpty());
    }
    QCOMPARE(caption, QString("Select HTML RTF Files"));
    QCOMPARE(types, (QStringList{"RTF Files", "All Files (*.*)"}));
    QCOMPARE(filePattern, QString("*.rtf"));
    QCOMPARE(listed, 3);
    QCOMPARE(chosen, (QStringList{root + "/sub/three.rtf", root + "/two.RTF"}));
}

void MultiselTest::cancelledDialogChoosesNothing() {
    whenDialogShows([](QWidget* dialog) {
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    CBatchDlg batch("Select Ventura Files", "Text Files|*.txt|All Files (*.*)|*.*||", 0, nullptr,
                    nullptr, {QString(MULTISEL_DIR "/Multisel")});
    QVERIFY(!batch.showModal());
    QVERIFY(batch.chosenFiles().isEmpty());
}

QTEST_MAIN(MultiselTest)
#include "multisel_test.moc"
