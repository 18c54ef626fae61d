#include "scripted_prompts.h"

namespace tessel::desktop::testing {

QStringList ScriptedPrompts::chooseFiles(const QString& title, const QString& filter,
                                         bool standardDialog) {
    batchChoices << AskedChoice{title, filter, standardDialog};
    return batches.isEmpty() ? QStringList() : batches.takeFirst();
}

QStringList ScriptedPrompts::chooseBatchFiles(const QString& title, const QString& filter,
                                              bool standardDialog, FileChoiceMemory& memory) {
    startedAt << memory;
    QStringList chosen = chooseFiles(title, filter, standardDialog);
    if (!chosen.isEmpty() && !endAt.isEmpty()) memory = endAt.takeFirst();
    return chosen;
}

QString ScriptedPrompts::chooseOneFile(const QString& title, const QString& filter) {
    oneFileChoices << AskedChoice{title, filter, false};
    return oneFiles.isEmpty() ? QString() : oneFiles.takeFirst();
}

bool ScriptedPrompts::askYesNo(const QString& question) {
    questions << question;
    return !yesNo.isEmpty() && yesNo.takeFirst();
}

SaveAnswer ScriptedPrompts::askSaveChanges(const QString& documentTitle) {
    saveQuestions << documentTitle;
    return saveAnswers.isEmpty() ? SaveAnswer::Discard : saveAnswers.takeFirst();
}

QString ScriptedPrompts::chooseOpenPath(const QString&) {
    return openPaths.isEmpty() ? QString() : openPaths.takeFirst();
}

QString ScriptedPrompts::chooseSavePath(const QString&, const QString&) {
    return savePaths.isEmpty() ? QString() : savePaths.takeFirst();
}

void ScriptedPrompts::showMessage(const QString& text) {
    messages << text;
}

int ScriptedPrompts::chooseOne(const QString& question, const QStringList& choices) {
    choiceQuestions << question;
    choicesOffered << choices;
    if (choiceAnswers.isEmpty()) return -1;
    return static_cast<int>(choices.indexOf(choiceAnswers.takeFirst()));
}

std::optional<QString> ScriptedPrompts::chooseOutputFolder(const QString& current) {
    outputFolderStarts << current;
    return outputFolders.isEmpty() ? std::nullopt : outputFolders.takeFirst();
}

}  // namespace tessel::desktop::testing
