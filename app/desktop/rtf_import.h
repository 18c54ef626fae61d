// Reads an RTF file into a rich-text document: paragraphs, line breaks and
// tabs, and for the text its font, size, bold, italic, underline and colour.
// Everything else (style sheets, pictures, fields' instructions, document
// information) is passed over. Malformed input is read as far as it makes
// sense and never read past its end.
#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace tessel::desktop {

// Replaces the document's content; false with a reason when the bytes are
// not RTF or nest deeper than any real file does.
bool fromRtf(const QByteArray& rtf, QTextDocument& document, QString* error);

}  // namespace tessel::desktop
