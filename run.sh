#!/usr/bin/env bash
# Builds the screen saver and runs it under wine.
#   ./run.sh             full screen (/S) on $DISPLAY; any key ends it.
#                        Without a display: a private 1280x1024 Xvfb, a 10 s run,
#                        screenshots in out/.
#   ./run.sh /c          the configuration sheet;  ./run.sh /p 1234  a preview
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
cd "$root"
tools/setup.sh
tools/build.sh win >/dev/null
scr="$root/build/win/vivarn.scr"
args=("$@")
[ ${#args[@]} -gt 0 ] || args=(/S)

. tests/support/wine-env.sh
export VIVARN_BUILD_DIR="$root/build/win"
if [ -z "${WINEPREFIX:-}" ]; then
  WINEPREFIX="$(vivarn_template_prefix)"
  export WINEPREFIX
fi

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$scr" "${args[@]}"
fi

mkdir -p out
vivarn_start_xvfb 1280x1024
cleanup() {
  [ -n "${saver:-}" ] && kill "$saver" 2>/dev/null
  wineserver -k >/dev/null 2>&1 || true
  vivarn_stop_xvfb
}
trap cleanup EXIT
wine "$scr" "${args[@]}" &
saver=$!
start=$(date +%s%N)
shots=()
for at in 2 9; do
  while [ $(( ($(date +%s%N) - start) / 1000000 )) -lt $((at * 1000)) ]; do sleep 0.1; done
  shot="out/screen-${at}s.png"
  vivarn_screenshot "$shot" && shots+=("$shot")
done
while [ $(( ($(date +%s%N) - start) / 1000000 )) -lt 10000 ] && kill -0 "$saver" 2>/dev/null; do sleep 0.1; done
for s in "${shots[@]}"; do echo "$root/$s"; done
