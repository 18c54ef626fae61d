#include "rtf_export.h"

#include <QColor>
#include <QStringList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>
#include <QVector>
#include <cmath>

#include "windows_1252.h"

namespace tessel::desktop {

namespace {

QString familyOf(const QTextCharFormat& format, const QTextDocument& document) {
    QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty()) return families.first();
    return document.defaultFont().family();
}

// The RTF font family keyword, which readers use when the font is missing.
QByteArray familyKeyword(const QString& family) {
    QString name = family.toLower();
    if (name.contains(QLatin1String("courier")) || name.contains(QLatin1String("mono"))) {
        return "\\fmodern";
    }
    bool serif = name.contains(QLatin1String("serif")) && !name.contains(QLatin1String("sans"));
    if (name.contains(QLatin1String("times")) || serif) {
        return "\\froman";
    }
    if (name.contains(QLatin1String("sans")) || name.contains(QLatin1String("arial"))) {
        return "\\fswiss";
    }
    return "\\fnil";
}

class RtfWriter {
  public:
    explicit RtfWriter(const QTextDocument& document) : document_(document) {}

    QByteArray write() {
        collectTables();
        QByteArray body;
        bool first = true;
        for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
            if (!first) body += "\\par\n";
            first = false;
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                QTextFragment fragment = it.fragment();
                if (fragment.isValid()) body += run(fragment);
            }
        }
        return header() + body + "}\n";
    }

  private:
    void collectTables() {
        for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                QTextCharFormat format = it.fragment().charFormat();
                QString family = familyOf(format, document_);
                if (!fonts_.contains(family)) fonts_ << family;
                if (format.hasProperty(QTextFormat::ForegroundBrush)) {
                    QColor colour = format.foreground().color();
                    if (!colours_.contains(colour)) colours_ << colour;
                }
            }
        }
        if (fonts_.isEmpty()) fonts_ << document_.defaultFont().family();
    }

    QByteArray header() const {
        QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
        for (qsizetype i = 0; i < fonts_.size(); ++i) {
            out += "{\\f" + QByteArray::number(i) + familyKeyword(fonts_[i]) + "\\fcharset0 " +
                   escaped(fonts_[i]) + ";}";
        }
        out += "}\n";
        if (!colours_.isEmpty()) {
            out += "{\\colortbl;";
            for (const QColor& colour : colours_) {
                out += "\\red" + QByteArray::number(colour.red()) + "\\green" +
                       QByteArray::number(colour.green()) + "\\blue" +
                       QByteArray::number(colour.blue()) + ";";
            }
            out += "}\n";
        }
        return out + "\\pard\\plain\n";
    }

    QByteArray run(const QTextFragment& fragment) const {
        QTextCharFormat format = fragment.charFormat();
        QByteArray out = "{\\f" + QByteArray::number(fonts_.indexOf(familyOf(format, document_)));
        double points = format.fontPointSize() > 0 ? format.fontPointSize()
                                                   : document_.defaultFont().pointSizeF();
        if (points > 0) out += "\\fs" + QByteArray::number(std::lround(points * 2));
        if (format.fontWeight() >= QFont::Bold) out += "\\b";
        if (format.fontItalic()) out += "\\i";
        if (format.fontUnderline()) out += "\\ul";
        if (format.hasProperty(QTextFormat::ForegroundBrush)) {
            out += "\\cf" + QByteArray::number(colours_.indexOf(format.foreground().color()) + 1);
        }
        return out + " " + escaped(fragment.text()) + "}";
    }

    static QByteArray escaped(const QString& text) {
        QByteArray out;
        for (qsizetype i = 0; i < text.size(); ++i) {
            QChar c = text[i];
            switch (c.unicode()) {
                case '\\':
                case '{':
                case '}':
                    out += '\\';
                    out += static_cast<char>(c.unicode());
                    continue;
                case '\t':
                    out += "\\tab ";
                    continue;
                case 0x2028:  // a line break inside a paragraph
                case '\n':
                    out += "\\line ";
                    continue;
                default:
                    break;
            }
            if (c.unicode() >= 0x20 && c.unicode() < 0x80) {
                out += static_cast<char>(c.unicode());
            } else if (std::optional<char> byte = toWindows1252(c); byte && c.unicode() >= 0xA0) {
                out += "\\'" + QByteArray::number(static_cast<unsigned char>(*byte), 16)
                                   .rightJustified(2, '0');
            } else if (c.unicode() >= 0x80) {
                // Signed 16 bits as RTF readers expect, then the fallback byte.
                out += "\\u" + QByteArray::number(static_cast<qint16>(c.unicode())) + "?";
            }
        }
        return out;
    }

    const QTextDocument& document_;
    QStringList fonts_;
    QVector<QColor> colours_;
};

}  // namespace

QByteArray toRtf(const QTextDocument& document) {
    return RtfWriter(document).write();
}

}  // namespace tessel::desktop
