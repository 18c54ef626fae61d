#include "user_prompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

#include "batch_dlg.h"
#include "desktop_texts.h"
#include "multisel_loader.h"
#include "output_folder_dialog.h"

namespace tessel::desktop {

namespace {

QString caption() {
    return QString::fromUtf8(text::kApplicationTitle);
}

}  // namespace

QString qtFileFilter(const QString& filter) {
    QStringList parts = filter.split(u'|');
    while (!parts.isEmpty() && parts.last().isEmpty()) parts.removeLast();
    static const QRegularExpression shownPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        description.remove(shownPatterns);
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            // "*.*" names every file where the filters come from.
            patterns << (pattern.trimmed() == QLatin1String("*.*") ? QStringLiteral("*")
                                                                   : pattern.trimmed());
        }
        entries << description + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return entries.join(QStringLiteral(";;"));
}

QStringList DialogPrompts::chooseFiles(const QString& title, const QString& filter,
                                       bool standardDialog) {
    if (standardDialog) {
        // The dialog only offers existing files, as the batch needs.
        return QFileDialog::getOpenFileNames(owner_, title, QString(), qtFileFilter(filter));
    }
    CBatchDlg batch(
        title, filter, 0, owner_, [this](const QString& message) { showMessage(message); },
        multiselCandidates());
    if (!batch.showModal()) return {};
    return batch.chosenFiles();
}

QStringList DialogPrompts::chooseBatchFiles(const QString& title, const QString& filter,
                                            bool standardDialog, FileChoiceMemory& memory) {
    if (standardDialog) {
        QFileDialog dialog(owner_, title, memory.folder, qtFileFilter(filter));
        dialog.setFileMode(QFileDialog::ExistingFiles);
        if (!memory.pattern.isEmpty()) dialog.selectNameFilter(memory.pattern);
        if (dialog.exec() != QDialog::Accepted) return {};
        memory.folder = dialog.directory().absolutePath();
        memory.pattern = dialog.selectedNameFilter();
        return dialog.selectedFiles();
    }
    CBatchDlg batch(
        title, filter, 0, owner_, [this](const QString& message) { showMessage(message); },
        multiselCandidates());
    batch.setStart(memory.folder, memory.pattern, memory.subFolders);
    if (!batch.showModal()) return {};
    memory = FileChoiceMemory{batch.directory(), batch.userFilter(), batch.subFolders()};
    return batch.chosenFiles();
}

QString DialogPrompts::chooseOneFile(const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(owner_, title, QString(), qtFileFilter(filter));
}

bool DialogPrompts::askYesNo(const QString& question) {
    return QMessageBox::question(owner_, caption(), question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

OverwriteAnswer DialogPrompts::askOverwrite(const QString& question) {
    auto answer = QMessageBox::question(
        owner_, caption(), question,
        QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::NoToAll,
        QMessageBox::No);
    switch (answer) {
        case QMessageBox::Yes:
            return OverwriteAnswer::Yes;
        case QMessageBox::YesToAll:
            return OverwriteAnswer::YesToAll;
        case QMessageBox::NoToAll:
            return OverwriteAnswer::NoToAll;
        default:
            return OverwriteAnswer::No;
    }
}

SaveAnswer DialogPrompts::askSaveChanges(const QString& documentTitle) {
    auto answer = QMessageBox::question(
        owner_, caption(), text::with(text::kSaveChangesQuestion, documentTitle),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes) return SaveAnswer::Save;
    if (answer == QMessageBox::No) return SaveAnswer::Discard;
    return SaveAnswer::Cancel;
}

QString DialogPrompts::chooseOpenPath(const QString& qtFilter) {
    return QFileDialog::getOpenFileName(owner_, QString(), QString(), qtFilter);
}

QString DialogPrompts::chooseSavePath(const QString& suggestedPath, const QString& qtFilter) {
    return QFileDialog::getSaveFileName(owner_, QString(), suggestedPath, qtFilter);
}

void DialogPrompts::showMessage(const QString& text) {
    QMessageBox::warning(owner_, caption(), text);
}

int DialogPrompts::chooseOne(const QString& question, const QStringList& choices) {
    bool ok = false;
    QString chosen = QInputDialog::getItem(owner_, caption(), question, choices, 0, false, &ok);
    return ok ? static_cast<int>(choices.indexOf(chosen)) : -1;
}

std::optional<QString> DialogPrompts::chooseOutputFolder(const QString& current) {
    OutputFolderDialog dialog(current, owner_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.folder();
}

}  // namespace tessel::desktop
