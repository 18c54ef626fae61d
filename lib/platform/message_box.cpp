#include "platform/message_box.h"

#include <cstdio>

#include "platform/host_hooks.h"
#include "platform/windows_api.h"

namespace tessel::platform {

namespace {

// Jobs run one at a time under the library's job lock, so one pointer is
// enough.
MessageBoxCapture* activeCapture = nullptr;

// A program without a console or redirected standard error (a Windows GUI
// program that defines no presenter) gets the system's message box: text on
// a standard error nobody reads would be lost.
bool shownBySystem(const std::string& text) {
#ifdef _WIN32
    HANDLE errorHandle = ::GetStdHandle(STD_ERROR_HANDLE);
    if (errorHandle != nullptr && errorHandle != INVALID_HANDLE_VALUE &&
        ::GetFileType(errorHandle) != FILE_TYPE_UNKNOWN) {
        return false;
    }
    ::MessageBoxA(nullptr, text.c_str(), "TESSEL_CAT", MB_OK | MB_ICONWARNING | MB_TASKMODAL);
    return true;
#else
    (void)text;
    return false;
#endif
}

}  // namespace

MessageBoxCapture::MessageBoxCapture() : previous_(activeCapture) {
    activeCapture = this;
}

MessageBoxCapture::~MessageBoxCapture() {
    activeCapture = previous_;
}

void showMessageBox(std::string_view text) {
    if (activeCapture != nullptr) {
        activeCapture->texts_.emplace_back(text);
        return;
    }
    std::string owned(text);
    if (HostMessageBox* present = hostFunction<HostMessageBox>(kHostMessageBoxName)) {
        present(owned.c_str());
        return;
    }
    if (shownBySystem(owned)) return;
    std::fwrite(owned.data(), 1, owned.size(), stderr);
    // The message texts end in a line end of their own; make sure of one.
    if (owned.empty() || owned.back() != '\n') std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace tessel::platform
