# Fails when a source of the signal-processing layer includes a project header from outside
# that layer: the modules know nothing of the effect, the host or the screen.
# Usage: cmake -DLAYER_DIR=... -P CheckIncludes.cmake
file(GLOB sources ${LAYER_DIR}/*.h ${LAYER_DIR}/*.cpp)
set(strays)
foreach(source IN LISTS sources)
  file(STRINGS ${source} includes REGEX "^#include \"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
    if(NOT EXISTS ${LAYER_DIR}/${header})
      get_filename_component(name ${source} NAME)
      list(APPEND strays "${name}: ${header}")
    endif()
  endforeach()
endforeach()
if(strays)
  message(FATAL_ERROR "headers from outside ${LAYER_DIR}: ${strays}")
endif()
message(STATUS "every project header included in ${LAYER_DIR} lies in it")
