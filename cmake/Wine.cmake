# Windows builds run their programs and tests under Wine, in a prefix of their own inside the
# build folder, without debug output and without the dialogs that offer to install runtimes.
if(NOT CMAKE_CROSSCOMPILING OR NOT WIN32)
  return()
endif()
find_program(LDGR_WINE NAMES wine)
if(NOT LDGR_WINE)
  message(STATUS "Wine not found: the Windows tests are built but cannot run here")
  return()
endif()
set(LDGR_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "The Wine prefix the tests run in")
set(LDGR_WINE_ENVIRONMENT WINEPREFIX=${LDGR_WINEPREFIX} WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=")
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/env ${LDGR_WINE_ENVIRONMENT} ${LDGR_WINE})
