# GoogleTest is built from Debian's sources inside the build, so that the cross build and the
# sanitizer build get a matching copy.
set(FERROWIN_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
if(WIN32)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
endif()
add_subdirectory(${FERROWIN_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

# ferrowin_add_test(NAME [USES_DISPLAY] SOURCES... LIBS ...): one test executable, its cases
# registered with ctest when ctest runs (so the cross build needs Wine only for testing, not
# building). USES_DISPLAY: the cases may open windows, so they never run beside other cases
# that do (a window in the way would take another test's pointer events, or be counted among
# its windows). Without it they run beside the window tests, and in the Windows build a program
# fails if it creates a window after all.
function(ferrowin_add_test name)
  cmake_parse_arguments(ARG "USES_DISPLAY" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  set(properties TIMEOUT 120)
  if(ARG_USES_DISPLAY)
    list(APPEND properties RESOURCE_LOCK display)
  elseif(WIN32)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/NoWindowCheck.cpp)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES ${properties})
endfunction()
