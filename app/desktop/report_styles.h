// The looks of the documents: report headings in Times New Roman 15 pt bold
// underlined, report lines in MS Sans Serif 7.5 pt, error logs in Courier New
// 10 pt, each in automatic colour. Where a font is missing the nearest one
// of its kind (serif, sans serif, fixed pitch) is shown; the document keeps
// the name, so the saved RTF names the font it asks for.
#pragma once

#include <QFont>
#include <QTextCharFormat>

#include "core/batch_shell.h"

namespace tessel::desktop {

QTextCharFormat reportFormat(app::ReportStyle style);
QFont reportFont(app::ReportStyle style);
QFont errorLogFont();

}  // namespace tessel::desktop
