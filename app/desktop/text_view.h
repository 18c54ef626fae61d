// A window's view of an error log: plain text in a fixed-pitch font, which
// the user may edit and save back.
#pragma once

#include "log_view.h"

namespace tessel::desktop {

class CTesselTextDoc;

class CTesselTextView : public CTesselFilterPackView {
    Q_OBJECT

  public:
    CTesselTextView(CTesselTextDoc& document, DesktopHost& host, QWidget* parent = nullptr);
};

}  // namespace tessel::desktop
