# The layers of the code, one folder each, from the bottom: platform, common, KorvaneIni,
# config, startup, then GUI and tools side by side. A layer's code links the layer below it and
# uses nothing above: a file that includes a header of a higher layer (or of a layer beside
# it) fails the build.
set(LDGR_LIBRARY_FOLDERS platform common KorvaneIni config startup)
set(LDGR_LAYER_FOLDERS ${LDGR_LIBRARY_FOLDERS} GUI tools)

# The library's layers are included as <ledgerline/<layer>/...>, in this tree as in an installed
# one: the build tree's include folder names each library layer's source folder so, and nothing
# else of the source tree.
set(LDGR_INCLUDE_ROOT ${PROJECT_BINARY_DIR}/include)
configure_file(${PROJECT_SOURCE_DIR}/cmake/package/Version.h.in
               ${LDGR_INCLUDE_ROOT}/ledgerline/Version.h @ONLY)

# ldgr_layer(<folder> <target> [ON <lower folder>] [EXPORT <name>] [PRIVATE_HEADERS <file>...])
# Makes <target> the code of the layer in <folder> (a folder of the source root): it links the
# code of the layer below, and its build checks the includes of every file of the folder. A
# layer with an EXPORT name is part of the library other programs use, as Ledgerline::<name>;
# the others (the programs' own code) include their headers from the source root. Its headers
# are its public interface, but for the PRIVATE_HEADERS and those of posix/ and win32/.
function(ldgr_layer folder target)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "ON;EXPORT" "PRIVATE_HEADERS")
  set(allowed ${folder})
  if(arg_ON)
    get_property(lower_allowed GLOBAL PROPERTY LDGR_LAYER_ALLOWED_${arg_ON})
    get_property(lower_target GLOBAL PROPERTY LDGR_LAYER_TARGET_${arg_ON})
    if(NOT lower_target)
      message(FATAL_ERROR "Layer ${folder} is built on ${arg_ON}, which is not a layer yet")
    endif()
    list(APPEND allowed ${lower_allowed})
    target_link_libraries(${target} PUBLIC ${lower_target})
  endif()
  set_property(GLOBAL PROPERTY LDGR_LAYER_ALLOWED_${folder} ${allowed})
  set_property(GLOBAL PROPERTY LDGR_LAYER_TARGET_${folder} ${target})

  if(arg_EXPORT)
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${LDGR_INCLUDE_ROOT}/ledgerline/${folder} SYMBOLIC)
    target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${LDGR_INCLUDE_ROOT}>)
    target_compile_features(${target} PUBLIC cxx_std_20)
    set_target_properties(${target} PROPERTIES EXPORT_NAME ${arg_EXPORT})
    add_library(Ledgerline::${arg_EXPORT} ALIAS ${target})
    set_property(GLOBAL APPEND PROPERTY LDGR_EXPORTED_LAYERS ${folder})
    set_property(GLOBAL PROPERTY LDGR_LAYER_PRIVATE_HEADERS_${folder} ${arg_PRIVATE_HEADERS})
  else()
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  endif()
  # The warnings' options, not the target that carries them: it is not part of the package.
  target_compile_options(${target} PRIVATE $<TARGET_PROPERTY:ldgr_warnings,INTERFACE_COMPILE_OPTIONS>)
  get_target_property(type ${target} TYPE)
  if(LDGR_FUZZ AND type STREQUAL "STATIC_LIBRARY")
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
    # Whatever links instrumented code (the programs too) needs the sanitizers' runtimes.
    target_link_options(${target} INTERFACE -fsanitize=address,undefined)
  endif()

  # The include check runs again whenever a file of the folder changes.
  set(root ${PROJECT_SOURCE_DIR}/${folder})
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${root}/*.cpp ${root}/*.h)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.includes-checked)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${root} "-DLAYERS=${LDGR_LAYER_FOLDERS}"
            "-DLIBRARY=${LDGR_LIBRARY_FOLDERS}"
            "-DALLOWED=${allowed}" -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${files} ${PROJECT_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake
    COMMENT "Checking the includes of layer ${folder}"
    VERBATIM)
  target_sources(${target} PRIVATE ${stamp})
endfunction()
