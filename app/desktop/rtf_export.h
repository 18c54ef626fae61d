// Writes a rich-text document as RTF: the fonts, sizes, bold, italic,
// underline and colours of its text, one RTF paragraph per block. Text
// outside Windows 1252 is written as Unicode escapes.
#pragma once

#include <QByteArray>

class QTextDocument;

namespace tessel::desktop {

QByteArray toRtf(const QTextDocument& document);

}  // namespace tessel::desktop
