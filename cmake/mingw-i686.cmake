# Cross toolchain for 32-bit Windows (the shipped screensaver), Debian's
# mingw-w64 i686.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZEPHYRINE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
