#include "input_problem.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "desktop_texts.h"

namespace tessel::desktop {

namespace {

// Error logs are short; their codes stand near the top.
constexpr qint64 kLogBytesSearched = 64 * 1024;

QString firstCodeIn(const QString& text) {
    static const QRegularExpression code(QStringLiteral("\\bSS[A-Za-z]+\\d{4}[a-z]\\b"));
    QRegularExpressionMatch match = code.match(text);
    return match.hasMatch() ? match.captured() : QString();
}

}  // namespace

InputCheck checkInput(const QString& inputPath) {
    QFileInfo info(inputPath);
    if (!info.exists()) return {InputCheck::Kind::Missing, {}};
    if (info.isDir()) return {InputCheck::Kind::Folder, QString::fromUtf8(text::kInputIsAFolder)};
    QFile input(inputPath);
    if (!input.open(QIODevice::ReadOnly))
        return {InputCheck::Kind::Unreadable, input.errorString()};
    if (info.size() == 0) return {InputCheck::Kind::Empty, {}};
    return {};
}

QString inputProblemNote(const QString& inputPath, const InputCheck& check, const QString& code) {
    switch (check.kind) {
        case InputCheck::Kind::Fine:
            return {};
        case InputCheck::Kind::Missing:
            return text::with(text::kMissingInputNote, inputPath, code);
        case InputCheck::Kind::Empty:
            return text::with(text::kEmptyInputNote, inputPath, code);
        case InputCheck::Kind::Folder:
        case InputCheck::Kind::Unreadable:
            break;
    }
    return QString::fromUtf8(text::kUnreadableInputNote).arg(inputPath, check.reason, code);
}

QString libraryCode(const QStringList& messages, const QString& errorLogPath, int result) {
    for (const QString& message : messages) {
        QString code = firstCodeIn(message);
        if (!code.isEmpty()) return code;
    }
    if (!errorLogPath.isEmpty()) {
        QFile log(errorLogPath);
        if (log.open(QIODevice::ReadOnly)) {
            QString code = firstCodeIn(QString::fromLatin1(log.read(kLogBytesSearched)));
            if (!code.isEmpty()) return code;
        }
    }
    return QString::number(result);
}

}  // namespace tessel::desktop
