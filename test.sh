#!/usr/bin/env bash
# Runs the tests: set-up (idempotent), the builds, then ctest in each tree.
#   ./test.sh              everything: all four trees
#   ./test.sh -L native    pass ctest options (labels: native, wine, e2e); with
#                          a label only the trees that hold such tests are
#                          built and run: native -> native, asan, fuzz;
#                          wine, e2e -> win
set -uo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
cd "$root"
jobs="$(nproc)"

# The labels each tree's tests carry.
declare -A tree_labels=([native]=native [asan]=native [fuzz]=native [win]="wine e2e")
trees=(native asan fuzz win)

# ctest's -L (all must match) and -LE (none may match) label expressions.
include=() exclude=()
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
  case "${args[i]}" in
    -L | --label-regex) include+=("${args[i + 1]:-}"); i=$((i + 1)) ;;
    -LE | --label-exclude) exclude+=("${args[i + 1]:-}"); i=$((i + 1)) ;;
    --label-regex=*) include+=("${args[i]#*=}") ;;
    --label-exclude=*) exclude+=("${args[i]#*=}") ;;
  esac
done
selected() {  # label: true when ctest would run tests of that label
  local re
  for re in "${include[@]}"; do [[ "$1" =~ $re ]] || return 1; done
  for re in "${exclude[@]}"; do [[ "$1" =~ $re ]] && return 1; done
  return 0
}
needed=()
for tree in "${trees[@]}"; do
  for label in ${tree_labels[$tree]}; do
    if selected "$label"; then needed+=("$tree"); break; fi
  done
done

[ ${#needed[@]} -gt 0 ] || echo "test.sh: no tree holds tests of the labels asked for" >&2

tools/setup.sh || exit 1
for tree in "${needed[@]}"; do
  tools/build.sh "$tree" || exit 1
done

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

for tree in "${needed[@]}"; do
  run_ctest "build/$tree" "$@"
done

echo
echo "ctest: $passed passed, $failed failed"
exit $status
