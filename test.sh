#!/usr/bin/env bash
# Runs every test: set-up (idempotent), the three builds, then ctest in each.
#   ./test.sh              everything
#   ./test.sh -L native    pass ctest options (labels: native, wine, e2e)
set -uo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
cd "$root"
jobs="$(nproc)"

tools/setup.sh || exit 1
tools/build.sh all || exit 1

passed=0 failed=0 status=0
run_ctest() {  # build dir, ctest args...
  local dir="$1"; shift
  local log="$dir/ctest-output.txt"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" "$@" 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" = 0 ] || status=1
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    local f t
    f=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((passed + t - f)); failed=$((failed + f))
  fi
}

run_ctest build/native "$@"
run_ctest build/asan "$@"
run_ctest build/fuzz "$@"
run_ctest build/win "$@"

echo
echo "ctest: $passed passed, $failed failed"
exit $status
