# Fails when a file of a layer's folder includes a header of a layer it may not use, or names a
# header of the library's layers other than as ledgerline/<layer>/..., the way other programs do.
#   cmake -DFOLDER=<layer folder> -DLAYERS="<every layer folder>" -DALLOWED="<usable layers>"
#         -DLIBRARY="<the library's layer folders>"
#         -P CheckLayerIncludes.cmake
cmake_minimum_required(VERSION 3.25)
file(GLOB_RECURSE files ${FOLDER}/*.cpp ${FOLDER}/*.h)
set(problems)
foreach(file IN LISTS files)
  file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[^\"/]+/")
  file(RELATIVE_PATH name ${FOLDER}/.. ${file})
  foreach(line IN LISTS includes)
    string(REGEX MATCH "\"(ledgerline/)?([^\"/]+)/[^\"]*\"" header "${line}")
    set(prefix ${CMAKE_MATCH_1})
    set(layer ${CMAKE_MATCH_2})
    if(layer IN_LIST LAYERS AND NOT layer IN_LIST ALLOWED)
      list(APPEND problems "${name}: ${header} is in layer ${layer}, not below this one")
    elseif(layer IN_LIST LIBRARY AND NOT prefix)
      list(APPEND problems "${name}: ${header} is a library header, included as ledgerline/${layer}/...")
    endif()
  endforeach()
endforeach()
if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "A layer includes what it may not use (it may use ${ALLOWED}):\n  ${text}")
endif()
