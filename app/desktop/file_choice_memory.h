// Where each command's file choice starts: the folder, file pattern and
// sub-folders choice of its last confirmed choice, kept in the settings
// (group "File Choices", one sub-group per command) between runs.
#pragma once

#include <QString>

#include "core/command_table.h"

class QSettings;

namespace tessel::desktop {

struct FileChoiceMemory {
    QString folder;
    QString pattern;  // the batch dialog's file pattern, or the file type chosen
    bool subFolders = false;

    bool operator==(const FileChoiceMemory&) const = default;
};

// The settings' name of a command: its family and name ("markup-html").
QString commandKey(const app::Command& command);

FileChoiceMemory readFileChoice(QSettings& settings, const QString& commandKey);
void writeFileChoice(QSettings& settings, const QString& commandKey,
                     const FileChoiceMemory& memory);

}  // namespace tessel::desktop
