# Fails unless the shared object exports exactly the entry names: the VST plug-in's two, or
# those given as EXPECTED (a sorted list).
# Usage: cmake -DNM=... -DLIBRARY=... [-DEXPECTED=...] -P CheckExports.cmake
if(NOT DEFINED EXPECTED)
  set(EXPECTED "VSTPluginMain;main")
endif()
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
if(NOT names STREQUAL EXPECTED)
  message(FATAL_ERROR "${LIBRARY} exports: ${names}")
endif()
message(STATUS "exports exactly ${EXPECTED}")
