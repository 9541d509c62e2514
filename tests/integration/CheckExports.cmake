# Fails unless the shared object exports exactly the two entry names.
# Usage: cmake -DNM=... -DLIBRARY=... -P CheckExports.cmake
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY} OUTPUT_VARIABLE dump
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot read ${LIBRARY}")
endif()
string(REGEX MATCHALL " [TtWDBRV] [^\n]+" symbols "${dump}")
set(names)
foreach(line IN LISTS symbols)
  string(REGEX REPLACE "^ . " "" name "${line}")
  list(APPEND names ${name})
endforeach()
list(SORT names)
if(NOT names STREQUAL "VSTPluginMain;main")
  message(FATAL_ERROR "${LIBRARY} exports: ${names}")
endif()
message(STATUS "exports exactly VSTPluginMain and main")
