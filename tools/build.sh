#!/usr/bin/env bash
# Configures (when new or its options changed) and builds the trees:
#   build/native  host compiler, optimised, tests and benchmarks
#   build/asan    host compiler with AddressSanitizer and UBSan, tests
#   build/fuzz    clang with libFuzzer, ASan and UBSan: the fuzz targets
#   build/tsan    host compiler with ThreadSanitizer: the one two-thread test of
#                 the Life task, built and run (only when asked for by name,
#                 never by "all")
#   build/win     mingw-w64 cross build: build/win/vivarn.scr and the wine tests
# Usage: tools/build.sh [all|native|asan|fuzz|win|tsan]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
which="${1:-all}"
prefix_file="${VIVARN_DEPS_DIR:-${HOME:-/root}/.cache/vivarn/deps}/prefix-path"
# shellcheck source=step-log.sh
. tools/step-log.sh

# A tree is configured when it is new and again whenever the options given
# here change (they are kept in the tree): cmake alone would keep the old
# cache values. Then the cache starts afresh, so an option dropped from the
# list does not linger; ninja still rebuilds only what the change touched.
configure() {  # dir, cmake args...
  local dir="$1"; shift
  local stamp="$dir/vivarn-options.txt" wanted
  wanted="$(printf '%s\n' "$@")"
  if [ -f "$dir/build.ninja" ] && [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ]; then return 0; fi
  rm -f "$stamp" "$dir/CMakeCache.txt"
  vivarn_step "$dir-configure.log" cmake -S . -B "$dir" -G Ninja "$@" || return
  printf '%s\n' "$wanted" >"$stamp"
}

if [ "$which" = all ] || [ "$which" = native ]; then
  configure build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build/native
fi
if [ "$which" = all ] || [ "$which" = asan ]; then
  configure build/asan -DCMAKE_BUILD_TYPE=Debug -DVIVARN_SANITIZE=ON -DVIVARN_BENCHMARKS=OFF
  cmake --build build/asan
fi
if [ "$which" = all ] || [ "$which" = fuzz ]; then
  configure build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIVARN_FUZZ=ON -DVIVARN_BENCHMARKS=OFF \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
  cmake --build build/fuzz
fi
if [ "$which" = tsan ]; then
  configure build/tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIVARN_TSAN=ON -DVIVARN_BENCHMARKS=OFF
  cmake --build build/tsan --target life_tsan_tests
  ctest --test-dir build/tsan -R '^life_tsan_tests$' --output-on-failure
fi
if [ "$which" = all ] || [ "$which" = win ]; then
  configure build/win -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DVIVARN_DEPS_PREFIX="$(cat "$prefix_file")"
  cmake --build build/win
fi
