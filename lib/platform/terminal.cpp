#include "platform/terminal.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tessel::platform {

namespace {

bool isTerminal(int descriptor) {
#ifdef _WIN32
    return ::_isatty(descriptor) != 0;
#else
    return ::isatty(descriptor) == 1;
#endif
}

}  // namespace

bool standardInputIsTerminal() {
    return isTerminal(0);
}

bool promptTerminalAvailable() {
    return isTerminal(0) && isTerminal(2);
}

}  // namespace tessel::platform
