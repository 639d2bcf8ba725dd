# halvo_add_subfolders([EXCEPT <name>...]): adds every subfolder of the current folder that has
# a CMakeLists.txt, so an area's tests, benchmarks or tools need no list to be kept.
function(halvo_add_subfolders)
  cmake_parse_arguments(ARG "" "" "EXCEPT" ${ARGN})
  file(GLOB entries LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(entry ${entries})
    get_filename_component(name ${entry} NAME)
    if(IS_DIRECTORY ${entry} AND EXISTS ${entry}/CMakeLists.txt AND NOT name IN_LIST ARG_EXCEPT)
      add_subdirectory(${entry})
    endif()
  endforeach()
endfunction()
