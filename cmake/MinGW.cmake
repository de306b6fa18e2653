# What both MinGW-w64 toolchains share: the posix thread model (full C++ threads), target
# headers and libraries only from the MinGW root, and fully static runtime libraries so the
# executables need no DLL beyond the system's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${LDGR_MINGW_PROCESSOR})

set(CMAKE_C_COMPILER ${LDGR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LDGR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LDGR_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LDGR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# The objdump that reads this target's import and export tables (the package checks).
set(LDGR_OBJDUMP ${LDGR_MINGW_TRIPLE}-objdump CACHE FILEPATH "objdump for the Windows target")
