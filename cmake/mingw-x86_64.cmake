# Cross toolchain for 64-bit Windows, Debian's mingw-w64 x86_64. Builds a
# twin of the screensaver from the same sources, for test machines whose
# kernel cannot run Wine's 32-bit side.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZEPHYRINE_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
