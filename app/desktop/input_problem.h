// What the report says, in the user's words, about an input file that gave
// nothing to convert: an empty file, or one that cannot be read. The
// library's own code for it follows in brackets (the first message code it
// showed or logged, else its return code), so that the report, the log and
// the library's messages can be matched up.
#pragma once

#include <QString>
#include <QStringList>

namespace tessel::desktop {

struct InputCheck {
    enum class Kind { Fine, Missing, Folder, Unreadable, Empty };
    Kind kind = Kind::Fine;
    QString reason;  // the system's reason a file cannot be read

    bool fine() const { return kind == Kind::Fine; }
};

InputCheck checkInput(const QString& inputPath);

// The report line for a problem `check` found; `code` goes in brackets.
QString inputProblemNote(const QString& inputPath, const InputCheck& check, const QString& code);

// The library's code: the first numbered message code ("SSLex0102e") of
// `messages`, else of the error log, else `result`.
QString libraryCode(const QStringList& messages, const QString& errorLogPath, int result);

}  // namespace tessel::desktop
