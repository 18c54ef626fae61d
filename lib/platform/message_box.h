// Message boxes of the library: a short text the user must see, such as a
// converter that could not be set up. The desktop program shows it as a
// dialog; without a presenter it goes to the standard error stream (on
// Windows, to the system's message box when the program has none).
//
// The host program presents the texts by defining, in its own executable and
// exported dynamically (CMake's ENABLE_EXPORTS), the C function
//
//     extern "C" void tessel_host_message_box(const char* text);
//
// `text` is zero-terminated and owned by the library for the call only. The
// function runs on the thread of the job that shows the message, inside the
// library's job lock, and must return once the user has seen the message.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessel::platform {

// The agreed name of the host's presenter and its signature.
inline constexpr const char* kHostMessageBoxName = "tessel_host_message_box";
using HostMessageBox = void(const char* text);

// Shows `text`: to the active capture, else the host's presenter, else
// standard error.
void showMessageBox(std::string_view text);

// While a capture lives, message boxes of this process are collected in it
// instead of being shown (for tests and quiet runs). Captures nest; the
// newest one collects.
class MessageBoxCapture {
  public:
    MessageBoxCapture();
    ~MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

    const std::vector<std::string>& texts() const { return texts_; }

  private:
    friend void showMessageBox(std::string_view text);
    MessageBoxCapture* previous_;
    std::vector<std::string> texts_;
};

}  // namespace tessel::platform
