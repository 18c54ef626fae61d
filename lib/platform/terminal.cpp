#include "platform/terminal.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "platform/windows_api.h"
#else
#include <unistd.h>
#endif

namespace tessel::platform {

namespace {

bool isTerminal(int descriptor) {
#ifdef _WIN32
    // Only a console is someone at a terminal: _isatty is also true for
    // the null device and any other character device.
    DWORD mode = 0;
    return ::GetConsoleMode(reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor)), &mode) != 0;
#else
    return ::isatty(descriptor) == 1;
#endif
}

}  // namespace

bool standardInputIsTerminal() {
    return isTerminal(0);
}

bool standardErrorIsTerminal() {
    return isTerminal(2);
}

bool promptTerminalAvailable() {
    return isTerminal(0) && isTerminal(2);
}

void useBinaryStandardStreams() {
#ifdef _WIN32
    std::fflush(stdout);
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
#endif
}

}  // namespace tessel::platform
