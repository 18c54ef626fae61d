#include "text_view.h"

#include "report_styles.h"
#include "text_document.h"

namespace tessel::desktop {

CTesselTextView::CTesselTextView(CTesselTextDoc& document, DesktopHost& host, QWidget* parent)
    : CTesselFilterPackView(document, host, parent) {
    setFont(errorLogFont());
}

}  // namespace tessel::desktop
