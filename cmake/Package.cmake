# The Windows release package: a ZIP of ldgrmake.exe, KorvaneIni.dll, the README, the
# notices of the libraries linked into them and the SDK (sdk/: the C++ library, the DLL's
# header and import libraries), made
# by "cmake --workflow --preset win32" (build/win32/ldgrmake-<version>-win32.zip). Tests read
# the shipped files' import and export tables before they are packed.
install(TARGETS ldgrmake KorvaneIniDll RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/README.txt ${PROJECT_SOURCE_DIR}/packaging/NOTICES.txt
        DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(LDGR_PACKAGE_PLATFORM win32)
else()
  set(LDGR_PACKAGE_PLATFORM win64)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ldgrmake)
set(CPACK_PACKAGE_VENDOR "Korvane Group")
set(CPACK_PACKAGE_FILE_NAME ldgrmake-${PROJECT_VERSION}-${LDGR_PACKAGE_PLATFORM})
set(CPACK_STRIP_FILES ON)
include(CPack)

enable_testing()
include(${CMAKE_CURRENT_LIST_DIR}/DllSdk.cmake)
add_test(NAME package.ldgrmake
         COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${LDGR_OBJDUMP} -DFILE=$<TARGET_FILE:ldgrmake> -DGUI=ON
                 -DMANIFEST=ON -DVERSION=${PROJECT_VERSION} -P ${PROJECT_SOURCE_DIR}/cmake/CheckPeFile.cmake)
add_test(NAME package.ldgrcheck
         COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${LDGR_OBJDUMP} -DFILE=$<TARGET_FILE:ldgrcheck>
                 -DMANIFEST=ON -DVERSION=${PROJECT_VERSION} -P ${PROJECT_SOURCE_DIR}/cmake/CheckPeFile.cmake)
# The INI library stands alone: it reads files and needs nothing but the kernel and the C
# runtime.
add_test(NAME package.KorvaneIni
         COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${LDGR_OBJDUMP} -DFILE=$<TARGET_FILE:KorvaneIniDll>
                 "-DEXPORTS=_OpenIni@4\\;_GetIniString@24\\;_CloseIni@4"
                 "-DIMPORTS=KERNEL32.DLL\\;MSVCRT.DLL" -DVERSION=${PROJECT_VERSION}
                 -DIMAGE_VERSION=${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}
                 -P ${PROJECT_SOURCE_DIR}/cmake/CheckPeFile.cmake)
