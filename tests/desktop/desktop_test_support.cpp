#include "desktop_test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSettings>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

#include "child_frame.h"
#include "language_dialog.h"
#include "log_document.h"

namespace tessel::desktop::testing {

std::unique_ptr<QTemporaryDir> useTemporarySettings() {
    auto folder = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder->path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder->path());
    return folder;
}

TestFrame makeFrame() {
    auto prompts = std::make_unique<ScriptedPrompts>();
    TestFrame test;
    test.prompts = prompts.get();
    test.frame = std::make_unique<CMainFrame>(std::move(prompts));
    test.frame->show();
    return test;
}

namespace {

QMenu* subMenuOf(const QList<QAction*>& actions, const QString& title) {
    for (QAction* action : actions) {
        if (action->menu() && action->text() == title) return action->menu();
    }
    return nullptr;
}

}  // namespace

QAction* menuAction(CMainFrame& frame, const QStringList& path) {
    QList<QAction*> actions = frame.menuBar()->actions();
    for (qsizetype i = 0; i + 1 < path.size(); ++i) {
        QMenu* menu = subMenuOf(actions, path[i]);
        if (menu == nullptr) return nullptr;
        actions = menu->actions();
    }
    for (QAction* action : actions) {
        if (action->text() == path.last()) return action;
    }
    return nullptr;
}

QStringList menuEntries(CMainFrame& frame, const QStringList& menuPath) {
    QList<QAction*> actions = frame.menuBar()->actions();
    for (const QString& title : menuPath) {
        QMenu* menu = subMenuOf(actions, title);
        if (menu == nullptr) return {QStringLiteral("<no menu %1>").arg(title)};
        actions = menu->actions();
    }
    QStringList texts;
    for (QAction* action : actions) {
        if (!action->isSeparator() && action->isVisible()) texts << action->text();
    }
    return texts;
}

QStringList copyExamples(const QString& folder, const QStringList& names) {
    QStringList copies;
    for (const QString& name : names) {
        QString source = QStringLiteral(TESSEL_SOURCE_DIR "/examples/") + name;
        QString target = QDir(folder).filePath(QFileInfo(name).fileName());
        QFile::remove(target);
        if (!QFile::copy(source, target)) qFatal("cannot copy %s", qPrintable(source));
        QFile(target).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        copies << target;
    }
    return copies;
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write");
    file.write(bytes);
}

QString logText(CMainFrame& frame) {
    for (CTesselFilterPackDoc* document : frame.documents()) {
        if (!document->isErrorLog()) return document->textDocument()->toPlainText();
    }
    return {};
}

void whenModalShown(std::function<bool(QWidget*)> matches, std::function<void(QDialog&)> step) {
    constexpr int kPollMs = 10;
    constexpr int kPolls = 1000;
    auto* timer = new QTimer(qApp);
    auto polls = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<QDialog*>(modal);
        bool shown = dialog && dialog->isVisible() && matches(dialog);
        if (!shown && ++*polls < kPolls) return;
        timer->stop();
        timer->deleteLater();
        if (!shown) {
            QTest::qFail("the expected modal dialog was not shown", __FILE__, __LINE__);
            return;
        }
        QPointer<QDialog> guarded(dialog);
        step(*dialog);
        if (guarded && guarded->isVisible()) guarded->reject();
    });
    timer->start(kPollMs);
}

void answerLanguageDialog(const QString& language) {
    whenShown<LanguageDialog>([language](LanguageDialog& dialog) {
        auto* list = qobject_cast<QComboBox*>(dialog.control(1000));
        QVERIFY(list);
        int index = list->findText(language);
        QVERIFY2(index >= 0, qPrintable(language));
        list->setCurrentIndex(index);
        QTest::mouseClick(dialog.control(1), Qt::LeftButton);
    });
}

}  // namespace tessel::desktop::testing
