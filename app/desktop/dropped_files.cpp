#include "dropped_files.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace tessel::desktop {

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool matchesFirstFileType(const app::Command& command, const QString& name) {
    for (const std::string& pattern : app::filterPatterns(command.fileFilter)) {
        QRegularExpression wildcard(
            QRegularExpression::wildcardToRegularExpression(QString::fromStdString(pattern)),
            QRegularExpression::CaseInsensitiveOption);
        if (wildcard.match(name).hasMatch()) return true;
    }
    return false;
}

}  // namespace

QStringList droppedFiles(const QList<QUrl>& urls) {
    QStringList files;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) continue;
        QFileInfo info(url.toLocalFile());
        if (info.isDir()) {
            QStringList below;
            QDirIterator it(info.absoluteFilePath(), QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) below << it.next();
            std::sort(below.begin(), below.end());
            files << below;
        } else if (info.isFile()) {
            files << info.absoluteFilePath();
        }
    }
    return files;
}

// The XLIFF entries are left out: a dropped page is for its mark-up (as
// before there were any), and an XLIFF file does not tell which format's
// merge it is for by its name.
QList<const app::Command*> commandsForFile(const QString& path) {
    QList<const app::Command*> commands;
    QString name = QFileInfo(path).fileName();
    for (const app::Command& command : app::commandTable()) {
        bool xliff = command.family == "extract" || command.family == "merge";
        if (!command.menuPath.empty() && !xliff && matchesFirstFileType(command, name)) {
            commands << &command;
        }
    }
    return commands;
}

QString commandLabel(const app::Command& command) {
    QString path = fromView(command.menuPath);
    path.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
    return path.split(u'/').join(QStringLiteral(" > "));
}

QList<DropBatch> dropBatches(const QStringList& files) {
    QList<DropBatch> batches;
    for (const QString& file : files) {
        QList<const app::Command*> commands = commandsForFile(file);
        if (commands.isEmpty()) continue;
        auto same = std::find_if(batches.begin(), batches.end(), [&](const DropBatch& batch) {
            return batch.commands == commands;
        });
        if (same == batches.end()) {
            batches.push_back(DropBatch{commands, {file}});
        } else {
            same->files << file;
        }
    }
    return batches;
}

}  // namespace tessel::desktop
