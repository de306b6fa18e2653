# The SDK of KorvaneIni.dll for the suite's other programs, under sdk/ of the Windows package:
# the C header, a .def for other toolchains' import-library tools, the import library for MinGW
# (written by the DLL's own link) and one in the form Microsoft's linker reads (made by lld-link
# from the .def). A test installs it, builds the C example against it and checks the result.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(machine x86)
else()
  set(machine x64)
endif()
set(sdk_def ${PROJECT_SOURCE_DIR}/KorvaneIni/dll/sdk/KorvaneIni.${machine}.def)
find_program(LDGR_LLD_LINK NAMES lld-link)
if(NOT LDGR_LLD_LINK)
  message(FATAL_ERROR "lld-link not found: it makes KorvaneIni.lib, the DLL's import library for "
                      "Microsoft's linker (Debian package lld)")
endif()

# Given only a .def, lld-link writes the import library and no DLL.
set(msvc_lib ${PROJECT_BINARY_DIR}/KorvaneIni/KorvaneIni.lib)
add_custom_command(
  OUTPUT ${msvc_lib}
  COMMAND ${LDGR_LLD_LINK} /nologo /machine:${machine} /def:${sdk_def} /out:KorvaneIni.dll
          /implib:${msvc_lib}
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/KorvaneIni
  DEPENDS ${sdk_def}
  COMMENT "Making KorvaneIni.lib, the import library for Microsoft's linker"
  VERBATIM)
add_custom_target(KorvaneIniMsvcImportLibrary ALL DEPENDS ${msvc_lib})

install(FILES ${PROJECT_SOURCE_DIR}/KorvaneIni/dll/KorvaneIni.h DESTINATION sdk/include
        COMPONENT sdk)
install(FILES ${sdk_def} DESTINATION sdk/lib RENAME KorvaneIni.def COMPONENT sdk)
install(FILES $<TARGET_LINKER_FILE:KorvaneIniDll> ${msvc_lib} DESTINATION sdk/lib COMPONENT sdk)

add_test(NAME sdk.KorvaneIni
         COMMAND ${PROJECT_SOURCE_DIR}/examples/consumer/dll/check-windows-sdk.sh ${PROJECT_BINARY_DIR})
set_tests_properties(sdk.KorvaneIni PROPERTIES SKIP_RETURN_CODE 77)
if(LDGR_WINE)
  set_tests_properties(sdk.KorvaneIni PROPERTIES ENVIRONMENT "${LDGR_WINE_ENVIRONMENT}"
                                                 FIXTURES_REQUIRED wine)
endif()
