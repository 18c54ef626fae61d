#include "library_hooks.h"

#include <QPointer>
#include <QWidget>

namespace tessel::desktop {

namespace {

QPointer<QWidget>& owner() {
    static QPointer<QWidget> window;
    return window;
}

}  // namespace

void setLibraryDialogOwner(QWidget* window) {
    owner() = window;
}

QWidget* libraryDialogOwner() {
    return owner().data();
}

}  // namespace tessel::desktop

// The hooks themselves are plain C functions under the names the library
// looks up (see lib/platform/host_hooks.h), defined here with extern "C"
// and default visibility:
// - the converters' message boxes, shown with QMessageBox, owned by
//   libraryDialogOwner();
// - the language dialog of the multilingual HTML command, the library's
//   dialog model presented as a Qt dialog with the texts and layout of its
//   resource.
