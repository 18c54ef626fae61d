#include "library_hooks.h"

#include <QApplication>
#include <QMessageBox>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <cstdio>
#include <cstring>

#include "batch_thread.h"
#include "desktop_texts.h"
#include "language_dialog.h"
#include "tessel_cat.h"
#include "windows_1252.h"

namespace tessel::desktop {

namespace {

QPointer<QWidget>& owner() {
    static QPointer<QWidget> window;
    return window;
}

struct MessageCapture {
    QMutex mutex;
    std::function<void(const QString&)> capture;
};

MessageCapture& messageCapture() {
    static MessageCapture instance;
    return instance;
}

}  // namespace

void setLibraryMessageCapture(std::function<void(const QString&)> capture) {
    MessageCapture& state = messageCapture();
    QMutexLocker lock(&state.mutex);
    state.capture = std::move(capture);
}

// True when the message went to the capture.
bool captureLibraryMessage(const char* text) {
    MessageCapture& state = messageCapture();
    QMutexLocker lock(&state.mutex);
    if (!state.capture) return false;
    state.capture(fromWindows1252(QByteArray(text == nullptr ? "" : text)).trimmed());
    return true;
}

void setLibraryDialogOwner(QWidget* window) {
    owner() = window;
}

QWidget* libraryDialogOwner() {
    return owner().data();
}

bool libraryDialogsCanBeShown() {
    // Widgets need a widget application, its own thread and a screen.
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    return application != nullptr && QThread::currentThread() == application->thread() &&
           QGuiApplication::primaryScreen() != nullptr;
}

}  // namespace tessel::desktop

// The hooks let no exception out into the library.

extern "C" void tessel_host_message_box(const char* text) {
    using namespace tessel::desktop;
    try {
        if (captureLibraryMessage(text)) return;
    } catch (...) {
        // Shown instead.
    }
    // A batch worker's messages are shown by the window's thread while the
    // worker waits.
    if (onBatchWorkerThread()) {
        try {
            callOnGuiThread([text] { tessel_host_message_box(text); });
            return;
        } catch (...) {
            // Written to standard error below instead.
        }
    }
    const char* message = text == nullptr ? "" : text;
    try {
        if (libraryDialogsCanBeShown()) {
            QMessageBox::warning(libraryDialogOwner(), QString::fromUtf8(text::kApplicationTitle),
                                 fromWindows1252(QByteArray(message)).trimmed());
            return;
        }
    } catch (...) {
        // Shown below instead.
    }
    std::fputs(message, stderr);
    std::size_t length = std::strlen(message);
    if (length == 0 || message[length - 1] != '\n') std::fputc('\n', stderr);
    std::fflush(stderr);
}

extern "C" int tessel_present_language_dialog(tessel_language_dialog* dialog) {
    using namespace tessel::desktop;
    if (onBatchWorkerThread()) {
        int answer = TESSEL_PRESENTER_UNAVAILABLE;
        try {
            callOnGuiThread([dialog, &answer] { answer = tessel_present_language_dialog(dialog); });
        } catch (...) {
            answer = TESSEL_PRESENTER_UNAVAILABLE;
        }
        return answer;
    }
    if (!libraryDialogsCanBeShown() || !LanguageDialog::presentable(dialog)) {
        return TESSEL_PRESENTER_UNAVAILABLE;
    }
    try {
        LanguageDialog window(*dialog, libraryDialogOwner());
        window.exec();
    } catch (...) {
        // Returning without OK counts as cancelled.
    }
    return TESSEL_PRESENTER_DONE;
}
