#include "report_styles.h"

namespace tessel::desktop {

namespace {

QFont namedFont(const char* family, double points, QFont::StyleHint kind) {
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(kind);
    font.setPointSizeF(points);
    return font;
}

}  // namespace

QFont reportFont(app::ReportStyle style) {
    if (style == app::ReportStyle::Heading) {
        QFont font = namedFont("Times New Roman", 15, QFont::Serif);
        font.setBold(true);
        font.setUnderline(true);
        return font;
    }
    return namedFont("MS Sans Serif", 7.5, QFont::SansSerif);
}

QTextCharFormat reportFormat(app::ReportStyle style) {
    QFont font = reportFont(style);
    QTextCharFormat format;
    format.setFontFamilies({font.family()});
    format.setFontStyleHint(font.styleHint());
    format.setFontPointSize(font.pointSizeF());
    format.setFontWeight(font.bold() ? QFont::Bold : QFont::Normal);
    format.setFontUnderline(font.underline());
    format.setFontItalic(false);
    return format;
}

QFont errorLogFont() {
    QFont font = namedFont("Courier New", 10, QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

}  // namespace tessel::desktop
