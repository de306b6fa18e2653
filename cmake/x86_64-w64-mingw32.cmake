# The 64-bit Windows build, cross-compiled with MinGW-w64; its tests run under Wine64.
set(LDGR_MINGW_TRIPLE x86_64-w64-mingw32)
set(LDGR_MINGW_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
