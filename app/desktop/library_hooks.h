// The services of the conversion library that the desktop program presents
// itself. The library looks each of them up by name in the running program,
// so the program is linked with its symbols exported; library_hooks.cpp is
// where those functions are defined.
#pragma once

class QWidget;

namespace tessel::desktop {

// The window that owns the dialogs the library asks for (its message boxes
// and its language dialog): the main frame while it exists.
void setLibraryDialogOwner(QWidget* owner);
QWidget* libraryDialogOwner();

}  // namespace tessel::desktop
