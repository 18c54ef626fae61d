// Dialog templates give positions and sizes in dialog units, which follow
// the dialog's font: a horizontal unit is a quarter of the font's average
// character width, a vertical unit an eighth of its height. The average
// width is that of the 52 letters A-Z and a-z, halved with rounding as the
// template format defines it.
#pragma once

#include <QRect>

class QFont;

namespace tessel::desktop {

struct DialogBaseUnits {
    int x;  // average character width in pixels
    int y;  // character height in pixels
};

DialogBaseUnits dialogBaseUnits(const QFont& font);

// A rectangle of the template in pixels.
QRect dialogUnitsToPixels(const DialogBaseUnits& base, int x, int y, int width, int height);

}  // namespace tessel::desktop
