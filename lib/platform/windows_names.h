// File names as the Windows file API takes them. The library's callers pass
// 8-bit names of the active ANSI code page; the ANSI entry points of the API
// stop at 259 characters, so every file operation goes through the wide
// entry points with the name converted here. A name too long for the plain
// form gets the "\\?\" form, which reaches any length: a folder deep enough
// to make a file name 300 characters long is as usable as on Linux.
#pragma once

#ifdef _WIN32

#include <string>

#include "platform/windows_api.h"

namespace tessel::platform {

// `path` converted from the ANSI code page, in the "\\?\" form when its full
// name would not fit the plain one. Empty when `path` cannot be converted.
std::wstring wideName(const std::string& path);

// `text` converted from the ANSI code page, as it is.
std::wstring widened(const std::string& text);

// A name from the wide API back in the ANSI code page.
std::string narrowName(const std::wstring& name);

// Sets errno to the POSIX code of a Windows error, so that callers report
// a missing file, a refused access or a name too long in the words (and
// numbers) the POSIX build gives.
void setErrnoFromWindowsError(DWORD error);

}  // namespace tessel::platform

#endif  // _WIN32
