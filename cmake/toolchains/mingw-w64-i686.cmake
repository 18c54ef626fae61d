# 32-bit Windows: the deliverable TESSEL_CAT.dll.
set(TESSEL_MINGW_TRIPLE i686-w64-mingw32)
set(TESSEL_MINGW_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
