#include "dialog_units.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>

namespace tessel::desktop {

namespace {

// value * numerator / denominator, rounded half away from zero.
int scaled(int value, int numerator, int denominator) {
    long long product = static_cast<long long>(value) * numerator;
    long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

}  // namespace

DialogBaseUnits dialogBaseUnits(const QFont& font) {
    QFontMetrics metrics(font);
    int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // The average of the 52 letters, rounded as the template format does.
    int average = (letters / 26 + 1) / 2;
    return DialogBaseUnits{qMax(1, average), qMax(1, metrics.height())};
}

QRect dialogUnitsToPixels(const DialogBaseUnits& base, int x, int y, int width, int height) {
    return QRect(scaled(x, base.x, 4), scaled(y, base.y, 8), scaled(width, base.x, 4),
                 scaled(height, base.y, 8));
}

}  // namespace tessel::desktop
