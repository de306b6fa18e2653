# The layers of the code, one folder each, from the bottom: platform, common, KorvaneIni,
# config, startup, then GUI and tools side by side. A layer's code links the layer below it and
# uses nothing above: a file that includes a header of a higher layer (or of a layer beside
# it) fails the build.
set(LDGR_LAYER_FOLDERS platform common KorvaneIni config startup GUI tools)

# ldgr_layer(<folder> <target> [ON <lower folder>])
# Makes <target> the code of the layer in <folder> (a folder of the source root): it links the
# code of the layer below, and its build checks the includes of every file of the folder.
function(ldgr_layer folder target)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "ON" "")
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

  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE ldgr_warnings)
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
            "-DALLOWED=${allowed}" -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${files} ${PROJECT_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake
    COMMENT "Checking the includes of layer ${folder}"
    VERBATIM)
  target_sources(${target} PRIVATE ${stamp})
endfunction()
