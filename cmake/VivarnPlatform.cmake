# Compiler settings shared by every target, for the three builds:
#   native   host compiler, plain logic and its tests and benchmarks
#   asan     the same with AddressSanitizer and UndefinedBehaviorSanitizer
#   tsan     the same with ThreadSanitizer: the two-thread test of the Life task
#   win      mingw-w64 cross build of the screen saver and its wine tests
if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(VIVARN_WINDOWS ON)
else()
  set(VIVARN_WINDOWS OFF)
endif()

add_library(vivarn_options INTERFACE)
target_include_directories(vivarn_options INTERFACE ${CMAKE_SOURCE_DIR})
target_compile_options(vivarn_options INTERFACE -Wall -Wextra -Wno-unused-parameter)

if(VIVARN_WINDOWS)
  # One self-contained .scr: no libstdc++, libgcc or winpthread DLLs needed.
  target_compile_definitions(vivarn_options INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                      _WIN32_WINNT=0x0601)
  target_link_options(vivarn_options INTERFACE -static -static-libgcc -static-libstdc++)
  # Windows has no zlib1.dll: take libz.a, never the import library beside it.
  set(ZLIB_USE_STATIC_LIBS ON)
  # Debug information is built and then split off the shipped file (app/), so
  # a crash can be read without making users download it. Unused functions and
  # data are dropped at link time.
  target_compile_options(vivarn_options INTERFACE -g -ffunction-sections -fdata-sections)
  target_link_options(vivarn_options INTERFACE -Wl,--gc-sections)
  # Cross-built libpng and libjpeg (tools/setup.sh).
  if(NOT VIVARN_DEPS_PREFIX)
    set(VIVARN_DEPS_PREFIX "$ENV{HOME}/.cache/vivarn/deps/mingw-prefix")
  endif()
  list(APPEND CMAKE_FIND_ROOT_PATH ${VIVARN_DEPS_PREFIX})
elseif(VIVARN_FUZZ)
  # Every library is instrumented for coverage; the fuzzers add the driver.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(VIVARN_SANITIZE)
  target_compile_options(vivarn_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                  -fno-sanitize-recover=undefined)
  target_link_options(vivarn_options INTERFACE -fsanitize=address,undefined)
elseif(VIVARN_TSAN)
  target_compile_options(vivarn_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(vivarn_options INTERFACE -fsanitize=thread)
endif()

find_package(Threads REQUIRED)
target_link_libraries(vivarn_options INTERFACE Threads::Threads)
