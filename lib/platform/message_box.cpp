#include "platform/message_box.h"

#include <cstdio>

#include "platform/host_hooks.h"

namespace tessel::platform {

namespace {

// Jobs run one at a time under the library's job lock, so one pointer is
// enough.
MessageBoxCapture* activeCapture = nullptr;

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
    std::fwrite(owned.data(), 1, owned.size(), stderr);
    // The message texts end in a line end of their own; make sure of one.
    if (owned.empty() || owned.back() != '\n') std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace tessel::platform
