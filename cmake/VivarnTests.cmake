# Test helpers. Three labels, each runnable alone with `ctest -L`:
#   native  GoogleTest executables of the host build
#   wine    GoogleTest executables of the Windows build, run under wine in a
#           private Xvfb (tests/support/wine-test.sh is the cross emulator)
#   e2e     scripts that start the .scr under wine in their own Xvfb and prefix
enable_testing()

if(VIVARN_WINDOWS)
  # GoogleTest built from Debian's sources with the cross compiler.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(VIVARN_GTEST_MAIN gtest_main gmock)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/support/wine-test.sh)
  set(VIVARN_TEST_LABEL wine)
else()
  find_package(GTest REQUIRED)
  set(VIVARN_GTEST_MAIN GTest::gtest_main GTest::gmock)
  set(VIVARN_TEST_LABEL native)
endif()

# vivarn_add_test(<name> SOURCES <files...> LIBS <targets...>)
function(vivarn_add_test name)
  if(VIVARN_FUZZ)
    return()  # the fuzz tree builds only the libraries and the fuzzers
  endif()
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${VIVARN_GTEST_MAIN} vivarn_options)
  if(VIVARN_WINDOWS)
    target_link_options(${name} PRIVATE -mconsole)
    target_compile_definitions(${name} PRIVATE "VIVARN_SOURCE_DIR=\"${CMAKE_SOURCE_DIR}\"")
  else()
    target_compile_definitions(${name} PRIVATE "VIVARN_SOURCE_DIR=\"${CMAKE_SOURCE_DIR}\"")
  endif()
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS ${VIVARN_TEST_LABEL} TIMEOUT ${T_TIMEOUT})
endfunction()

# vivarn_add_e2e_test(<name> <script> [args...]): a bash script run from the
# build directory with the .scr path in VIVARN_SCR.
function(vivarn_add_e2e_test name script)
  add_test(NAME ${name} COMMAND bash ${script} ${ARGN})
  set_tests_properties(${name} PROPERTIES LABELS e2e TIMEOUT 300
    ENVIRONMENT "VIVARN_SCR=${CMAKE_BINARY_DIR}/vivarn.scr;VIVARN_BUILD_DIR=${CMAKE_BINARY_DIR};VIVARN_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()

# vivarn_add_fuzzer(<name> SOURCES <files...> LIBS <targets...> CORPUS <dir> [SECONDS n])
# libFuzzer targets live in the clang tree build/fuzz only. ctest runs each for
# a bounded time on a scratch copy of its seed corpus.
function(vivarn_add_fuzzer name)
  if(NOT VIVARN_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "CORPUS;SECONDS" "SOURCES;LIBS" ${ARGN})
  if(NOT F_SECONDS)
    set(F_SECONDS 10)
  endif()
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS} vivarn_options)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(scratch ${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus)
  add_test(NAME ${name}
    COMMAND bash -c "rm -rf '${scratch}' && mkdir -p '${scratch}' && cp -r '${F_CORPUS}'/. '${scratch}'/ && exec '$<TARGET_FILE:${name}>' -max_total_time=${F_SECONDS} -timeout=5 -rss_limit_mb=2048 -print_final_stats=1 '${scratch}'")
  set_tests_properties(${name} PROPERTIES LABELS native TIMEOUT 120)
endfunction()
