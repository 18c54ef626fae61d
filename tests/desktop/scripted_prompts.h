// A user who answers from a script: the files of each batch, the one file,
// the yes/no and save answers, and the paths for Open and Save As. Every
// question is recorded.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "user_prompts.h"

namespace tessel::desktop::testing {

struct AskedChoice {
    QString title;
    QString filter;
    bool standardDialog = false;
};

class ScriptedPrompts : public UserPrompts {
  public:
    QList<QStringList> batches;  // one list per batch; none left: nothing chosen
    QList<AskedChoice> batchChoices;
    QStringList oneFiles;
    QList<AskedChoice> oneFileChoices;
    QList<bool> yesNo;  // none left: No
    QStringList questions;
    QList<SaveAnswer> saveAnswers;  // none left: Discard
    QStringList saveQuestions;
    QStringList openPaths;
    QStringList savePaths;
    QStringList messages;

    // Where each batch choice started, and where the scripted ones end (none
    // left: where they started).
    QList<FileChoiceMemory> startedAt;
    QList<FileChoiceMemory> endAt;

    QStringList chooseFiles(const QString& title, const QString& filter,
                            bool standardDialog) override;
    QStringList chooseBatchFiles(const QString& title, const QString& filter, bool standardDialog,
                                 FileChoiceMemory& memory) override;
    QString chooseOneFile(const QString& title, const QString& filter) override;
    bool askYesNo(const QString& question) override;
    SaveAnswer askSaveChanges(const QString& documentTitle) override;
    QString chooseOpenPath(const QString& qtFilter) override;
    QString chooseSavePath(const QString& suggestedPath, const QString& qtFilter) override;
    void showMessage(const QString& text) override;
    // The choice questions with their choices; the answers are the texts to
    // take (none left: cancelled).
    QStringList choiceQuestions;
    QList<QStringList> choicesOffered;
    QStringList choiceAnswers;
    int chooseOne(const QString& question, const QStringList& choices) override;
    // The folder each output-folder choice started from; the answers (none
    // left: cancelled).
    QStringList outputFolderStarts;
    QList<std::optional<QString>> outputFolders;
    std::optional<QString> chooseOutputFolder(const QString& current) override;
};

}  // namespace tessel::desktop::testing
