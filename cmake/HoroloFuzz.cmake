# horolo_add_fuzzer(NAME SOURCES src... [LIBS lib...])
# A libFuzzer target for code that reads outside input. Built only in the host
# preset (clang, with the sanitizers); the test run replays its committed seed
# corpus, tests/fuzz/corpus/NAME, once, and `./dev.sh fuzz` runs it for real.
function(horolo_add_fuzzer name)
  if(HOROLO_WINDOWS OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  set(corpus ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
  add_test(NAME ${name}_corpus COMMAND ${name} -runs=0 ${corpus})
  set_property(GLOBAL APPEND PROPERTY HOROLO_FUZZERS ${name})
endfunction()
