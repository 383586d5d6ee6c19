# horolo_add_fuzzer(NAME SOURCES src... MAX_LEN bytes [LIBS lib...])
# A libFuzzer target for code that reads outside input. Built only in the host
# preset (clang, with the sanitizers); the test run replays its committed seed
# corpus, tests/fuzz/corpus/NAME, once, and `./dev.sh fuzz` runs it for real.
# MAX_LEN is the largest input the target is given, in both; `./dev.sh fuzz`
# reads the target's flags from NAME.flags beside the executable.
#
# The libraries under test carry the coverage counters too (fuzzer-no-link):
# without them libFuzzer sees only the harness and mutates blindly. The unit
# tests that link the same libraries are unaffected: the sanitizer runtime
# they link gives the counters' hooks a default.
function(horolo_add_fuzzer name)
  if(HOROLO_WINDOWS OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  cmake_parse_arguments(F "" "MAX_LEN" "SOURCES;LIBS" ${ARGN})
  if(NOT F_MAX_LEN)
    message(FATAL_ERROR "horolo_add_fuzzer(${name}): MAX_LEN is missing")
  endif()
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  foreach(lib IN LISTS F_LIBS)
    horolo_instrument_for_fuzzing(${lib})
  endforeach()
  set(flags -max_len=${F_MAX_LEN})
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name}.flags "${flags}\n")
  set(corpus ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
  add_test(NAME ${name}_corpus COMMAND ${name} -runs=0 ${flags} ${corpus})
endfunction()

# Coverage counters on a library of this project and on those it links.
function(horolo_instrument_for_fuzzing lib)
  if(NOT TARGET ${lib})
    return()
  endif()
  get_target_property(done ${lib} HOROLO_FUZZ_INSTRUMENTED)
  get_target_property(type ${lib} TYPE)
  if(done OR type STREQUAL "INTERFACE_LIBRARY")
    return()
  endif()
  set_target_properties(${lib} PROPERTIES HOROLO_FUZZ_INSTRUMENTED ON)
  target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link)
  get_target_property(links ${lib} LINK_LIBRARIES)
  foreach(linked IN LISTS links)
    horolo_instrument_for_fuzzing(${linked})
  endforeach()
endfunction()
