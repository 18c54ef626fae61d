// What safe_files.cpp asks of safe_files_posix.cpp and safe_files_windows.cpp.
#pragma once

#include <cstdint>
#include <string>

namespace tessel::platform {

// Installs, once per process, the handlers that remove the registered
// temporaries when the user interrupts the program.
void installInterruptHandlers();
// Removes the registered temporaries; safe to call from a signal handler.
void removeRegisteredTemporaries();
// Removes one name; safe to call from a signal handler.
void removeNameFromHandler(const char* name);

// Takes the lock of `key` (a file name) in the lock folder, waiting while
// another process holds it; a negative handle when it cannot.
std::intptr_t lockName(const std::string& folder, const std::string& key);
void unlockName(std::intptr_t handle);

}  // namespace tessel::platform
