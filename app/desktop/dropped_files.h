// Files and folders dropped onto the main window: the files they stand for
// (a folder for every file below it) and, by each file's name, the
// conversion commands that take it (those whose file choice offers it first:
// ".htm" HTML mark-up alone, ".txt" the Ventura and PageMaker mark-ups,
// ".rtf" every back-conversion).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "core/command_table.h"

namespace tessel::desktop {

// The local files of `urls` in their order, each folder's files below it
// sorted; others are left out.
QStringList droppedFiles(const QList<QUrl>& urls);

// The commands offered in the menus whose file type matches `path`'s name.
QList<const app::Command*> commandsForFile(const QString& path);

// A command as the user finds it: its menu path without mnemonics
// ("HTML > Mark Up Tags...").
QString commandLabel(const app::Command& command);

// The dropped files in batches, one per command set in the order first
// met: the files that share their candidate commands.
struct DropBatch {
    QList<const app::Command*> commands;
    QStringList files;
};
QList<DropBatch> dropBatches(const QStringList& files);

}  // namespace tessel::desktop
