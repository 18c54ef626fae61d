// Everything the desktop program asks the user: the files of a batch, one
// file, yes/no questions, whether to save a document, where to open or save
// one, and messages. The dialogs are one implementation; tests script
// another.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "file_choice_memory.h"

class QWidget;

namespace tessel::desktop {

enum class SaveAnswer { Save, Discard, Cancel };
// An existing output: replace it or not, this once or for the rest of the
// batch.
enum class OverwriteAnswer { Yes, YesToAll, No, NoToAll };

class UserPrompts {
  public:
    virtual ~UserPrompts() = default;

    // The files of a batch: the standard multiple-selection dialog or the
    // batch selection library. `filter` is in the form
    // "Description|patterns|...||".
    virtual QStringList chooseFiles(const QString& title, const QString& filter,
                                    bool standardDialog) = 0;
    // The same, starting where `memory` says; a confirmed choice leaves in
    // it where it ended. A user who cannot tell leaves it as it is.
    virtual QStringList chooseBatchFiles(const QString& title, const QString& filter,
                                         bool standardDialog, FileChoiceMemory& /*memory*/) {
        return chooseFiles(title, filter, standardDialog);
    }
    // One existing file; empty when the user chose none.
    virtual QString chooseOneFile(const QString& title, const QString& filter) = 0;
    virtual bool askYesNo(const QString& question) = 0;
    // The overwrite question of a batch; a user who can only say Yes or No
    // answers for this file alone.
    virtual OverwriteAnswer askOverwrite(const QString& question) {
        return askYesNo(question) ? OverwriteAnswer::Yes : OverwriteAnswer::No;
    }
    virtual SaveAnswer askSaveChanges(const QString& documentTitle) = 0;
    // File > Open and Save As; `qtFilter` in the dialogs' own form.
    virtual QString chooseOpenPath(const QString& qtFilter) = 0;
    virtual QString chooseSavePath(const QString& suggestedPath, const QString& qtFilter) = 0;
    virtual void showMessage(const QString& text) = 0;
    // Which of `choices` to take for `question`; -1 when the user cancelled.
    virtual int chooseOne(const QString& question, const QStringList& choices) = 0;
    // Where conversions write, starting from `current`: empty for next to
    // their inputs, else a folder; nothing when the user cancelled.
    virtual std::optional<QString> chooseOutputFolder(const QString& current) = 0;
};

// "RTF Files|*.rtf|All Files (*.*)|*.*||" in the file dialogs' form
// "RTF Files (*.rtf);;All Files (*)".
QString qtFileFilter(const QString& filter);

// The real dialogs, owned by the main window.
class DialogPrompts : public UserPrompts {
  public:
    explicit DialogPrompts(QWidget* owner) : owner_(owner) {}

    QStringList chooseFiles(const QString& title, const QString& filter,
                            bool standardDialog) override;
    QStringList chooseBatchFiles(const QString& title, const QString& filter, bool standardDialog,
                                 FileChoiceMemory& memory) override;
    QString chooseOneFile(const QString& title, const QString& filter) override;
    bool askYesNo(const QString& question) override;
    OverwriteAnswer askOverwrite(const QString& question) override;
    SaveAnswer askSaveChanges(const QString& documentTitle) override;
    QString chooseOpenPath(const QString& qtFilter) override;
    QString chooseSavePath(const QString& suggestedPath, const QString& qtFilter) override;
    void showMessage(const QString& text) override;
    int chooseOne(const QString& question, const QStringList& choices) override;
    std::optional<QString> chooseOutputFolder(const QString& current) override;

  private:
    QWidget* owner_;
};

}  // namespace tessel::desktop
