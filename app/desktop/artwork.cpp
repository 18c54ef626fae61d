#include "artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

#include "desktop_texts.h"

namespace tessel::desktop {

namespace {

const QColor kInk(32, 48, 80);
const QColor kTileLight(210, 226, 240);
const QColor kTileDark(150, 182, 214);
const QColor kExternalTag(196, 64, 64);   // the report's external runs
const QColor kInternalTag(228, 150, 40);  // and internal ones

// A hexagon of radius r around c, flat side up.
QPolygonF hexagon(QPointF c, double r) {
    QPolygonF shape;
    for (int i = 0; i < 6; ++i) {
        double angle = M_PI / 3.0 * i;
        shape << QPointF(c.x() + r * std::cos(angle), c.y() + r * std::sin(angle));
    }
    return shape;
}

void paintTiles(QPainter& painter, const QSize& size) {
    const double r = std::max(10.0, size.width() / 14.0);
    const double w = r * 1.5;
    const double h = r * std::sqrt(3.0);
    painter.setPen(QPen(Qt::white, std::max(1.0, r / 10.0)));
    int column = 0;
    for (double x = 0; x < size.width() + r; x += w, ++column) {
        double offset = (column % 2) ? h / 2.0 : 0.0;
        int row = 0;
        for (double y = -h / 2.0 + offset; y < size.height() + h; y += h, ++row) {
            // A fixed pattern: most tiles plain, a few marked like tags.
            int pick = (column * 7 + row * 3) % 11;
            QColor fill = pick == 0    ? kExternalTag
                          : pick == 5  ? kInternalTag
                          : (pick % 2) ? kTileDark
                                       : kTileLight;
            painter.setBrush(fill);
            painter.drawPolygon(hexagon(QPointF(x, y), r * 0.96));
        }
    }
}

void paintTitle(QPainter& painter, const QSize& size) {
    QRectF band(0, size.height() * 0.36, size.width(), size.height() * 0.28);
    QLinearGradient shade(band.topLeft(), band.bottomLeft());
    shade.setColorAt(0, QColor(255, 255, 255, 235));
    shade.setColorAt(1, QColor(235, 242, 250, 235));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawRect(band);
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setBold(true);
    font.setPixelSize(static_cast<int>(band.height() * 0.42));
    painter.setFont(font);
    painter.setPen(kInk);
    painter.drawText(band, Qt::AlignCenter, QString::fromUtf8(text::kApplicationTitle));
}

QPixmap canvas(int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void paintPage(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(Qt::white);
    QPolygonF page;
    page << r.topLeft() << QPointF(r.right() - r.width() * 0.3, r.top())
         << QPointF(r.right(), r.top() + r.width() * 0.3) << r.bottomRight() << r.bottomLeft();
    p.drawPolygon(page);
}

void paintToolIcon(QPainter& p, ToolIcon which, double s) {
    p.setRenderHint(QPainter::Antialiasing);
    switch (which) {
        case ToolIcon::New:
            paintPage(p, QRectF(s * 0.2, s * 0.1, s * 0.6, s * 0.8));
            p.setBrush(kInternalTag);
            p.setPen(Qt::NoPen);
            p.drawPolygon(hexagon(QPointF(s * 0.7, s * 0.75), s * 0.18));
            break;
        case ToolIcon::Open:
            p.setPen(QPen(kInk, 1.2));
            p.setBrush(QColor(240, 200, 90));
            p.drawRect(QRectF(s * 0.1, s * 0.3, s * 0.8, s * 0.55));
            p.setBrush(QColor(250, 225, 130));
            p.drawPolygon(QPolygonF() << QPointF(s * 0.2, s * 0.45) << QPointF(s * 0.95, s * 0.45)
                                      << QPointF(s * 0.85, s * 0.85) << QPointF(s * 0.1, s * 0.85));
            break;
        case ToolIcon::Save:
            p.setPen(QPen(kInk, 1.2));
            p.setBrush(QColor(90, 120, 180));
            p.drawRect(QRectF(s * 0.12, s * 0.12, s * 0.76, s * 0.76));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(s * 0.28, s * 0.12, s * 0.44, s * 0.3));
            p.drawRect(QRectF(s * 0.25, s * 0.58, s * 0.5, s * 0.3));
            break;
        case ToolIcon::Cut:
            p.setPen(QPen(kInk, 1.4));
            p.setBrush(Qt::NoBrush);
            p.drawLine(QPointF(s * 0.3, s * 0.1), QPointF(s * 0.62, s * 0.62));
            p.drawLine(QPointF(s * 0.7, s * 0.1), QPointF(s * 0.38, s * 0.62));
            p.setPen(QPen(kExternalTag, 1.6));
            p.drawEllipse(QPointF(s * 0.28, s * 0.76), s * 0.14, s * 0.14);
            p.drawEllipse(QPointF(s * 0.72, s * 0.76), s * 0.14, s * 0.14);
            break;
        case ToolIcon::Copy:
            paintPage(p, QRectF(s * 0.1, s * 0.08, s * 0.5, s * 0.62));
            paintPage(p, QRectF(s * 0.4, s * 0.3, s * 0.5, s * 0.62));
            break;
        case ToolIcon::Paste:
            p.setPen(QPen(kInk, 1.2));
            p.setBrush(QColor(190, 140, 80));
            p.drawRect(QRectF(s * 0.15, s * 0.15, s * 0.6, s * 0.75));
            p.setBrush(kTileDark);
            p.drawRect(QRectF(s * 0.3, s * 0.08, s * 0.3, s * 0.14));
            paintPage(p, QRectF(s * 0.45, s * 0.4, s * 0.45, s * 0.55));
            break;
        case ToolIcon::Print:
            p.setPen(QPen(kInk, 1.2));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(s * 0.28, s * 0.1, s * 0.44, s * 0.3));
            p.setBrush(QColor(170, 170, 180));
            p.drawRect(QRectF(s * 0.1, s * 0.38, s * 0.8, s * 0.34));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(s * 0.28, s * 0.62, s * 0.44, s * 0.28));
            break;
        case ToolIcon::About: {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(60, 110, 190));
            p.drawEllipse(QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.8));
            QFont font;
            font.setBold(true);
            font.setPixelSize(static_cast<int>(s * 0.6));
            p.setFont(font);
            p.setPen(Qt::white);
            p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
    }
}

}  // namespace

QPixmap tesselPicture(const QSize& size, bool withTitle) {
    QPixmap pixmap(size);
    pixmap.fill(kTileLight);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paintTiles(painter, size);
    if (withTitle) paintTitle(painter, size);
    painter.setPen(QPen(kInk, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(1, 1, size.width() - 2, size.height() - 2));
    return pixmap;
}

QIcon applicationIcon() {
    QIcon icon;
    for (int side : {16, 32, 48}) icon.addPixmap(tesselPicture(QSize(side, side), false));
    return icon;
}

QIcon toolIcon(ToolIcon which) {
    QIcon icon;
    for (int side : {16, 24, 32}) {
        QPixmap pixmap = canvas(side);
        QPainter painter(&pixmap);
        paintToolIcon(painter, which, side);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace tessel::desktop
