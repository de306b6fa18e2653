# The shipped 32-bit Windows build, cross-compiled with MinGW-w64.
set(LDGR_MINGW_TRIPLE i686-w64-mingw32)
set(LDGR_MINGW_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
