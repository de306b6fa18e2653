# The library as other programs use it: its install (the libraries, the public headers, the
# CMake package and the pkg-config files), and the build tree usable as it stands through
# export(). On Windows all of it goes to the sdk/ folder of the install, beside the programs.
include(CMakePackageConfigHelpers)

if(WIN32)
  set(LDGR_SDK sdk/)
else()
  set(LDGR_SDK "")
endif()
set(LDGR_SDK_INCLUDEDIR ${LDGR_SDK}${CMAKE_INSTALL_INCLUDEDIR})
set(LDGR_SDK_LIBDIR ${LDGR_SDK}${CMAKE_INSTALL_LIBDIR})
set(LDGR_SDK_CMAKEDIR ${LDGR_SDK_LIBDIR}/cmake/Ledgerline)

get_property(layers GLOBAL PROPERTY LDGR_EXPORTED_LAYERS)
set(targets)
foreach(folder IN LISTS layers)
  get_property(target GLOBAL PROPERTY LDGR_LAYER_TARGET_${folder})
  list(APPEND targets ${target})
  # A layer's public headers: every header of its folder but those of the platform
  # implementations and those the layer keeps to itself.
  get_property(private GLOBAL PROPERTY LDGR_LAYER_PRIVATE_HEADERS_${folder})
  set(excluded PATTERN posix EXCLUDE PATTERN win32 EXCLUDE PATTERN dll EXCLUDE)
  foreach(header IN LISTS private)
    list(APPEND excluded PATTERN ${header} EXCLUDE)
  endforeach()
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${folder}/
          DESTINATION ${LDGR_SDK_INCLUDEDIR}/ledgerline/${folder} COMPONENT sdk
          FILES_MATCHING PATTERN "*.h" ${excluded})
endforeach()
install(FILES ${LDGR_INCLUDE_ROOT}/ledgerline/Version.h
        DESTINATION ${LDGR_SDK_INCLUDEDIR}/ledgerline COMPONENT sdk)
install(TARGETS ${targets} EXPORT LedgerlineTargets
        ARCHIVE DESTINATION ${LDGR_SDK_LIBDIR} COMPONENT sdk
        LIBRARY DESTINATION ${LDGR_SDK_LIBDIR} COMPONENT sdk
        INCLUDES DESTINATION ${LDGR_SDK_INCLUDEDIR})

# The CMake package: installed, and in the build tree for a consumer pointed at it.
install(EXPORT LedgerlineTargets NAMESPACE Ledgerline:: DESTINATION ${LDGR_SDK_CMAKEDIR}
        COMPONENT sdk)
export(EXPORT LedgerlineTargets NAMESPACE Ledgerline::
       FILE ${PROJECT_BINARY_DIR}/LedgerlineTargets.cmake)
set(config_template ${PROJECT_SOURCE_DIR}/cmake/package/LedgerlineConfig.cmake.in)
configure_package_config_file(${config_template} ${PROJECT_BINARY_DIR}/LedgerlineConfig.cmake
                              INSTALL_DESTINATION ${PROJECT_BINARY_DIR}
                              INSTALL_PREFIX ${PROJECT_BINARY_DIR})
configure_package_config_file(${config_template}
                              ${PROJECT_BINARY_DIR}/package/LedgerlineConfig.cmake
                              INSTALL_DESTINATION ${LDGR_SDK_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/LedgerlineConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/package/LedgerlineConfig.cmake
              ${PROJECT_BINARY_DIR}/LedgerlineConfigVersion.cmake
        DESTINATION ${LDGR_SDK_CMAKEDIR} COMPONENT sdk)

# pkg-config: ledgerline-<layer>.pc for each layer, requiring the one below, so that the link
# order comes out right, and ledgerline.pc for the whole library. The prefix is found from the
# file's own place, so an installed tree can be moved.
file(RELATIVE_PATH LDGR_PC_UP /root/${LDGR_SDK_LIBDIR}/pkgconfig /root)
string(REGEX REPLACE "/$" "" LDGR_PC_UP "${LDGR_PC_UP}")
set(LDGR_PC_PREFIX "\${pcfiledir}/${LDGR_PC_UP}")
set(LDGR_PC_REQUIRES "")
set(LDGR_PC_LIBS_PRIVATE "")
foreach(folder IN LISTS layers)
  get_property(target GLOBAL PROPERTY LDGR_LAYER_TARGET_${folder})
  get_target_property(name ${target} EXPORT_NAME)
  set(LDGR_PC_NAME ledgerline-${name})
  set(LDGR_PC_DESCRIPTION "The Ledgerline library: layer ${folder}")
  set(LDGR_PC_LIBS "-L\${libdir} -l${target}")
  # The system libraries the layer links (on Windows, the platform layer's).
  get_target_property(links ${target} INTERFACE_LINK_LIBRARIES)
  set(system)
  foreach(link IN LISTS links)
    if(NOT TARGET ${link} AND NOT link MATCHES "[$<>]")
      list(APPEND system -l${link})
    endif()
  endforeach()
  list(JOIN system " " LDGR_PC_LIBS_PRIVATE)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/package/ledgerline-layer.pc.in
                 ${PROJECT_BINARY_DIR}/pkgconfig/${LDGR_PC_NAME}.pc @ONLY)
  set(LDGR_PC_REQUIRES ${LDGR_PC_NAME})
endforeach()
set(LDGR_PC_LIBS_PRIVATE "")
set(LDGR_PC_NAME ledgerline)
set(LDGR_PC_DESCRIPTION "The Ledgerline library: start-up, helpers, INI and configuration")
set(LDGR_PC_LIBS "")
configure_file(${PROJECT_SOURCE_DIR}/cmake/package/ledgerline-layer.pc.in
               ${PROJECT_BINARY_DIR}/pkgconfig/ledgerline.pc @ONLY)
install(DIRECTORY ${PROJECT_BINARY_DIR}/pkgconfig/ DESTINATION ${LDGR_SDK_LIBDIR}/pkgconfig
        COMPONENT sdk)
