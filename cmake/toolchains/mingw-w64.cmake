# Cross-compiling for Windows with Debian's mingw-w64 compilers
# (g++-mingw-w64-i686, g++-mingw-w64-x86-64). Included by the two
# architecture files, which set TESSEL_MINGW_TRIPLE first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TESSEL_MINGW_PROCESSOR})

# The "-posix" compilers: the library guards its jobs with std::mutex, which
# g++ 12's "-win32" threading model does not provide.
set(CMAKE_C_COMPILER ${TESSEL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSEL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSEL_MINGW_TRIPLE}-windres)
set(CMAKE_OBJDUMP ${TESSEL_MINGW_TRIPLE}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${TESSEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthread are linked statically into the DLL
# and every program, so they run on a bare Windows (or Wine) without the
# compiler's runtime DLLs beside them, and the DLL's import table names only
# system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# Build-time generators and tests run under Wine. A 64-bit build uses Wine's
# 64-bit loader itself: the "wine" front end execs the 32-bit loader whenever
# wine32 is installed, which fails on kernels without 32-bit emulation.
if(TESSEL_MINGW_PROCESSOR STREQUAL "AMD64")
    find_program(TESSEL_WINE NAMES wine64 wine PATHS /usr/lib/wine /usr/lib64/wine REQUIRED)
else()
    find_program(TESSEL_WINE NAMES wine REQUIRED)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${TESSEL_WINE})
