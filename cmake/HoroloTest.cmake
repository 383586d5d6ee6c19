# GoogleTest from the Debian source package, built with whichever compiler
# this tree uses (it builds with the posix MinGW cross compiler too).
enable_testing()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)
include(${CMAKE_CURRENT_LIST_DIR}/HoroloFuzz.cmake)

if(WIN32)
  # ctest runs the Windows test programs through Wine with the project's
  # prefix, locale and settings.
  set(HOROLO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  configure_file(${CMAKE_SOURCE_DIR}/tools/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE
                 @ONLY)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
  # Every test program checks that Wine's desktop is held for the run.
  add_library(horolo_desktop_check OBJECT ${CMAKE_SOURCE_DIR}/tests/framework/desktop_check.cpp)
  target_link_libraries(horolo_desktop_check PRIVATE gtest)
endif()

# horolo_add_test(NAME SOURCES src... [LIBS lib...] [SERIAL] [FOREGROUND filter]
#                  [ENVIRONMENT VAR=value...])
# One CTest entry per test case, discovered when ctest runs (discovery needs
# Wine, which the build itself must not). SERIAL keeps the cases from running
# beside any other test: for tests that read pixels off the shared screen.
# FOREGROUND names (as a GoogleTest filter) the cases that need the
# activation (a popup menu, a real message box or common dialog, keys sent to
# the focus): they hold the "foreground" resource, so that no two of them
# take the activation from each other.
# ENVIRONMENT is set for every case (and reaches the Wine runner).
function(horolo_add_test name)
  cmake_parse_arguments(T "SERIAL" "FOREGROUND" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE gtest_main gmock ${T_LIBS})
  if(WIN32)
    target_sources(${name} PRIVATE $<TARGET_OBJECTS:horolo_desktop_check>)
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  set(environment)
  if(T_ENVIRONMENT)
    set(environment ENVIRONMENT "${T_ENVIRONMENT}")
  endif()
  set(discover DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
  set(properties TIMEOUT 120 LABELS ${name} RUN_SERIAL ${T_SERIAL} ${environment})
  if(T_FOREGROUND)
    gtest_discover_tests(${name} ${discover} TEST_FILTER "${T_FOREGROUND}"
                         PROPERTIES ${properties} RESOURCE_LOCK foreground)
    gtest_discover_tests(${name} ${discover} TEST_FILTER "-${T_FOREGROUND}" PROPERTIES ${properties})
  else()
    gtest_discover_tests(${name} ${discover} PROPERTIES ${properties})
  endif()
endfunction()
