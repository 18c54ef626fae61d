// The services of the conversion library that the desktop program presents
// itself. The library looks each of them up by name in the running program,
// so the program is linked with its symbols exported; library_hooks.cpp
// defines them as C functions:
// - tessel_host_message_box: the converters' message boxes, a QMessageBox
//   owned by libraryDialogOwner();
// - tessel_present_language_dialog: the language dialog of the multilingual
//   HTML command, the library's dialog shown as a LanguageDialog.
// A batch worker's calls are shown by the application's thread while the
// worker waits. Where no dialog can be shown (no widget application, another
// thread that is no batch worker, no screen) the message goes to standard error and the presenter
// answers that it is unavailable, so the library falls back on its own.
#pragma once

#include <QString>
#include <functional>

#include "tessel_cat.h"

class QWidget;

// Visible in the program's dynamic symbol table, where the library looks.
extern "C" {
__attribute__((visibility("default"))) void tessel_host_message_box(const char* text);
__attribute__((visibility("default"))) int tessel_present_language_dialog(
    tessel_language_dialog* dialog);
}

namespace tessel::desktop {

// The window that owns the dialogs the library asks for (its message boxes
// and its language dialog): the main frame while it exists.
void setLibraryDialogOwner(QWidget* owner);
QWidget* libraryDialogOwner();

// While set, the library's message boxes are handed to `capture` instead of
// being shown (from whichever thread the library runs on); null shows them
// again. The batch shell takes the messages about an input it already
// reports as empty or unreadable.
void setLibraryMessageCapture(std::function<void(const QString&)> capture);

// True when the library's dialogs can be shown now: a widget application
// runs, this is its thread, and there is a screen.
bool libraryDialogsCanBeShown();

}  // namespace tessel::desktop
