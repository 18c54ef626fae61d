// Shared by the desktop tests: settings in a folder of their own, a scratch
// folder with copies of the examples, the main frame with a scripted user,
// and menu entries found by their texts as a user finds them.
#pragma once

#include <QAction>
#include <QDialog>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "main_frame.h"
#include "scripted_prompts.h"

namespace tessel::desktop::testing {

// Points the program's settings at a fresh folder; call before any
// settings are read. The folder lives as long as the returned object.
std::unique_ptr<QTemporaryDir> useTemporarySettings();

// A frame whose user is `prompts` (kept by the frame); shown.
struct TestFrame {
    std::unique_ptr<CMainFrame> frame;
    ScriptedPrompts* prompts = nullptr;
};
TestFrame makeFrame();

// The entry at `path` (menu titles then the entry, as shown with their
// "&"), or null.
QAction* menuAction(CMainFrame& frame, const QStringList& path);
// The texts of a menu's visible entries, separators left out.
QStringList menuEntries(CMainFrame& frame, const QStringList& menuPath);

// Copies the named files of the repository's examples folder into `folder`;
// returns the copies' paths.
QStringList copyExamples(const QString& folder, const QStringList& names);

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

// The plain text of the log the frame's commands write into.
QString logText(CMainFrame& frame);

// Calls `step` with the next modal dialog that `matches` as soon as it is
// the active modal window (waiting up to 10 s). A dialog the step leaves
// open is rejected afterwards, so that a failed check never leaves the test
// waiting in a modal loop.
void whenModalShown(std::function<bool(QWidget*)> matches, std::function<void(QDialog&)> step);

template <typename Dialog>
void whenShown(std::function<void(Dialog&)> step) {
    whenModalShown([](QWidget* window) { return qobject_cast<Dialog*>(window) != nullptr; },
                   [step](QDialog& dialog) { step(static_cast<Dialog&>(dialog)); });
}

// Answers the next language dialog: selects the entry named `language` in
// its list and clicks OK.
void answerLanguageDialog(const QString& language);

}  // namespace tessel::desktop::testing
