#include "file_choice_memory.h"

#include <QSettings>

namespace tessel::desktop {

namespace {

const char* const kGroup = "File Choices";

QString groupOf(const QString& commandKey) {
    return QString::fromUtf8(kGroup) + u'/' + commandKey;
}

}  // namespace

QString commandKey(const app::Command& command) {
    return QString::fromUtf8(command.family.data(), static_cast<qsizetype>(command.family.size())) +
           u'-' +
           QString::fromUtf8(command.name.data(), static_cast<qsizetype>(command.name.size()));
}

FileChoiceMemory readFileChoice(QSettings& settings, const QString& commandKey) {
    settings.beginGroup(groupOf(commandKey));
    FileChoiceMemory memory;
    memory.folder = settings.value(QStringLiteral("Folder")).toString();
    memory.pattern = settings.value(QStringLiteral("Pattern")).toString();
    memory.subFolders = settings.value(QStringLiteral("SubFolders"), 0).toInt() != 0;
    settings.endGroup();
    return memory;
}

void writeFileChoice(QSettings& settings, const QString& commandKey,
                     const FileChoiceMemory& memory) {
    settings.beginGroup(groupOf(commandKey));
    settings.setValue(QStringLiteral("Folder"), memory.folder);
    settings.setValue(QStringLiteral("Pattern"), memory.pattern);
    settings.setValue(QStringLiteral("SubFolders"), memory.subFolders ? 1 : 0);
    settings.endGroup();
}

}  // namespace tessel::desktop
