// Windows code page 1252, the 8-bit text of the conversion library's logs
// and RTF files, to and from Unicode.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tessel::desktop {

QString fromWindows1252(const QByteArray& bytes);
// Nothing for a character the code page lacks.
std::optional<char> toWindows1252(QChar c);
QByteArray toWindows1252(const QString& text, char replacement = '?');

}  // namespace tessel::desktop
