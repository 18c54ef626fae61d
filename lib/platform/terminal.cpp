#include "platform/terminal.h"

#include <unistd.h>

namespace tessel::platform {

bool promptTerminalAvailable() {
    return ::isatty(STDIN_FILENO) == 1 && ::isatty(STDERR_FILENO) == 1;
}

}  // namespace tessel::platform
