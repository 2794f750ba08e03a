# Cross toolchain for 32-bit Windows (the shipped screensaver), Debian's
# mingw-w64 i686.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZEPHYRINE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# SSE2 arithmetic instead of the x87 default, so that every float operation
# rounds to float as it does in the native and 64-bit builds (every Windows
# release this runs on requires SSE2).
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
