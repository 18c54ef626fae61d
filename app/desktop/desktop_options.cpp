#include "desktop_options.h"

#include <QFileInfo>
#include <QSettings>

#include "desktop_texts.h"
#include "encoding_choices.h"

namespace tessel::desktop {

namespace {

const char* const kUseStandardFileDialog = "UseStandardFileDialog";
const char* const kOverwriteExistingFiles = "OverwriteExistingFiles";
const char* const kAskForTagFile = "AskForTagFile";
const char* const kOpenErrorLogWindows = "OpenErrorLogWindows";
const char* const kErrorLogWindowLimit = "ErrorLogWindowLimit";
const char* const kClearLogOnlyWhenFilesChosen = "ClearLogOnlyWhenFilesChosen";
const char* const kCheckTagsOnBackConversion = "CheckTagsOnBackConversion";
const char* const kShowLibraryMessagesForUnreadableInputs =
    "ShowLibraryMessagesForUnreadableInputs";
const char* const kSourceEncoding = "SourceEncoding";
const char* const kTargetCodePage = "TargetCodePage";
const char* const kOutputFolder = "OutputFolder";

bool readFlag(QSettings& settings, const char* key) {
    return settings.value(QLatin1String(key), 0).toInt() != 0;
}

void writeFlag(QSettings& settings, const char* key, bool on) {
    settings.setValue(QLatin1String(key), on ? 1 : 0);
}

QString recentKey(int number) {
    return QStringLiteral("File%1").arg(number);
}

bool samePath(const QString& a, const QString& b) {
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

}  // namespace

QSettings* openSettings() {
    return new QSettings(QString::fromUtf8(text::kSettingsOrganisation),
                         QString::fromUtf8(text::kSettingsApplication));
}

DesktopOptions readOptions(QSettings& settings) {
    settings.beginGroup(QString::fromUtf8(text::kSettingsGroup));
    DesktopOptions options;
    options.useStandardFileDialog = readFlag(settings, kUseStandardFileDialog);
    options.overwriteExistingFiles = readFlag(settings, kOverwriteExistingFiles);
    options.askForTagFile = readFlag(settings, kAskForTagFile);
    options.openErrorLogWindows =
        settings.value(QLatin1String(kOpenErrorLogWindows), 1).toInt() != 0;
    options.clearLogOnlyWhenFilesChosen =
        settings.value(QLatin1String(kClearLogOnlyWhenFilesChosen), 1).toInt() != 0;
    options.checkTagsOnBackConversion =
        settings.value(QLatin1String(kCheckTagsOnBackConversion), 1).toInt() != 0;
    options.showLibraryMessagesForUnreadableInputs =
        readFlag(settings, kShowLibraryMessagesForUnreadableInputs);
    bool valid = false;
    int limit = settings.value(QLatin1String(kErrorLogWindowLimit)).toInt(&valid);
    if (valid && limit >= 0) options.errorLogWindowLimit = limit;
    options.sourceEncoding = settings.value(QLatin1String(kSourceEncoding)).toString().trimmed();
    unsigned codePage = settings.value(QLatin1String(kTargetCodePage)).toUInt(&valid);
    if (valid && isOfferedTargetCodePage(codePage)) options.targetCodePage = codePage;
    options.outputFolder = settings.value(QLatin1String(kOutputFolder)).toString().trimmed();
    settings.endGroup();
    return options;
}

void writeOptions(QSettings& settings, const DesktopOptions& options) {
    settings.beginGroup(QString::fromUtf8(text::kSettingsGroup));
    writeFlag(settings, kUseStandardFileDialog, options.useStandardFileDialog);
    writeFlag(settings, kOverwriteExistingFiles, options.overwriteExistingFiles);
    writeFlag(settings, kAskForTagFile, options.askForTagFile);
    writeFlag(settings, kOpenErrorLogWindows, options.openErrorLogWindows);
    settings.setValue(QLatin1String(kErrorLogWindowLimit), options.errorLogWindowLimit);
    writeFlag(settings, kClearLogOnlyWhenFilesChosen, options.clearLogOnlyWhenFilesChosen);
    writeFlag(settings, kCheckTagsOnBackConversion, options.checkTagsOnBackConversion);
    writeFlag(settings, kShowLibraryMessagesForUnreadableInputs,
              options.showLibraryMessagesForUnreadableInputs);
    if (options.sourceEncoding.isEmpty()) {
        settings.remove(QLatin1String(kSourceEncoding));
    } else {
        settings.setValue(QLatin1String(kSourceEncoding), options.sourceEncoding);
    }
    if (options.targetCodePage == 0) {
        settings.remove(QLatin1String(kTargetCodePage));
    } else {
        settings.setValue(QLatin1String(kTargetCodePage), options.targetCodePage);
    }
    if (options.outputFolder.isEmpty()) {
        settings.remove(QLatin1String(kOutputFolder));
    } else {
        settings.setValue(QLatin1String(kOutputFolder), options.outputFolder);
    }
    settings.endGroup();
}

void RecentFiles::add(const QString& path) {
    addInput(path, QString());
}

void RecentFiles::addInput(const QString& path, const QString& commandKey) {
    remove(path);
    paths_.prepend(QFileInfo(path).absoluteFilePath());
    commands_.prepend(commandKey);
    while (paths_.size() > kSize) {
        paths_.removeLast();
        commands_.removeLast();
    }
}

void RecentFiles::remove(const QString& path) {
    for (qsizetype i = paths_.size() - 1; i >= 0; --i) {
        if (!samePath(paths_[i], path)) continue;
        paths_.removeAt(i);
        commands_.removeAt(i);
    }
}

QString RecentFiles::commandOf(const QString& path) const {
    for (qsizetype i = 0; i < paths_.size(); ++i) {
        if (samePath(paths_[i], path)) return commands_[i];
    }
    return {};
}

void RecentFiles::read(QSettings& settings) {
    paths_.clear();
    commands_.clear();
    settings.beginGroup(QString::fromUtf8(text::kRecentFilesGroup));
    QStringList paths;
    for (int number = 1; number <= kSize; ++number)
        paths << settings.value(recentKey(number)).toString();
    settings.endGroup();
    settings.beginGroup(QString::fromUtf8(text::kRecentCommandsGroup));
    for (int number = 1; number <= kSize; ++number) {
        const QString& path = paths[number - 1];
        if (path.isEmpty() || paths_.contains(path)) continue;
        paths_ << path;
        commands_ << settings.value(recentKey(number)).toString();
    }
    settings.endGroup();
}

void RecentFiles::write(QSettings& settings) const {
    settings.beginGroup(QString::fromUtf8(text::kRecentFilesGroup));
    settings.remove(QString());
    for (int i = 0; i < paths_.size(); ++i) settings.setValue(recentKey(i + 1), paths_[i]);
    settings.endGroup();
    settings.beginGroup(QString::fromUtf8(text::kRecentCommandsGroup));
    settings.remove(QString());
    for (int i = 0; i < commands_.size(); ++i) {
        if (!commands_[i].isEmpty()) settings.setValue(recentKey(i + 1), commands_[i]);
    }
    settings.endGroup();
}

}  // namespace tessel::desktop
