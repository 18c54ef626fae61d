// Names that Windows takes for its character devices whatever folder they
// are in and whatever extension follows: "CON", "nul.txt", "aux.htm". A job
// writing "aux.rtf" there would write into the device (and report success),
// so every final name is checked against them before it is used.
#pragma once

#include <string_view>

namespace tessel::platform {

// True when the last component of `path` names a Windows device: one of
// CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0-COM9 and LPT0-LPT9 (with the
// superscript digits 1 to 3 of the ANSI code page as well), in any case,
// alone or followed by blanks or by a "." and anything.
bool isWindowsDeviceName(std::string_view path);

}  // namespace tessel::platform
