#!/usr/bin/env bash
# Builds the screen saver and runs it under wine.
#   ./run.sh             full screen (/S) on $DISPLAY; any key ends it.
#                        Without a display: a private 1280x1024 Xvfb, a run of 10 s
#                        from the saver's first picture, screenshots in out/ (2 s
#                        and 9 s after that picture), their paths printed;
#                        exits non-zero when the saver fails, shows only one
#                        colour, or does not end on a key press.
#   ./run.sh /c          the configuration sheet;  ./run.sh /p 1234  a preview
# Settings persist between runs in the prefix build/win/run-prefix, apart from
# the one the tests copy.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
cd "$root"
. tools/step-log.sh
tools/setup.sh
vivarn_step build/run-build.log tools/build.sh win || exit 1
scr="$root/build/win/vivarn.scr"
args=("$@")
[ ${#args[@]} -gt 0 ] || args=(/S)

. tools/wine-env.sh
vivarn_refuse_foreign_imports "$scr" || exit 1
export VIVARN_BUILD_DIR="$root/build/win"
if [ -z "${WINEPREFIX:-}" ]; then
  WINEPREFIX="$VIVARN_BUILD_DIR/run-prefix"
  if [ ! -f "$WINEPREFIX/.booted" ]; then
    template="$(vivarn_template_prefix)"
    rm -rf "$WINEPREFIX"
    cp -a "$template" "$WINEPREFIX"
  fi
  export WINEPREFIX
fi

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$scr" "${args[@]}"
fi

mkdir -p out
saver=""
probe=""
cleanup() {
  if [ -n "$saver" ] && kill -0 "$saver" 2>/dev/null; then
    kill "$saver" 2>/dev/null
    wait "$saver" 2>/dev/null || true
  fi
  wineserver -k >/dev/null 2>&1 || true
  vivarn_stop_xvfb
  [ -z "$probe" ] || rm -f "$probe"
}
trap cleanup EXIT
vivarn_start_xvfb 1280x1024
# A slow or busy machine takes far longer than usual over each step of the
# start, so every step waits for its condition (with a deadline) rather than
# for a fixed time. First the prefix: wine would otherwise make it behind the
# saver's back, while the saver's first seconds are being counted.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
# Wine's server and services come up before the saver, not together with it.
wine cmd /c exit >/dev/null 2>&1 || true
wine "$scr" "${args[@]}" &
saver=$!
# Until the saver's window shows its picture the bare Xvfb screen has one
# colour; the run's seconds count from there. A saver that ends stops the wait.
probe="$(mktemp /tmp/vivarn-run-probe.XXXXXX.png)"
colours() {
  local n
  n=$(convert "$1" -format %k info: 2>/dev/null) || n=0
  echo "${n:-0}"
}
picture_shown() {
  kill -0 "$saver" 2>/dev/null || return 0
  vivarn_screenshot "$probe" 2>/dev/null && [ "$(colours "$probe")" -gt 1 ]
}
vivarn_wait_for picture_shown -t 60 || echo "the saver showed no picture within 60 s" >&2
start=$(date +%s%N)
elapsed_ms() { echo $(( ($(date +%s%N) - start) / 1000000 )); }
shots=()
for at in 2 9; do
  while [ "$(elapsed_ms)" -lt $((at * 1000)) ] && kill -0 "$saver" 2>/dev/null; do sleep 0.05; done
  shot="out/screen-${at}s.png"
  vivarn_screenshot "$shot" && shots+=("$shot")
done
while [ "$(elapsed_ms)" -lt 10000 ] && kill -0 "$saver" 2>/dev/null; do sleep 0.05; done
# End it as a user would: a key press (full-screen mode closes on it).
if kill -0 "$saver" 2>/dev/null; then
  xdotool key space || true
  vivarn_wait_for bash -c "! kill -0 $saver 2>/dev/null" -t 30 || true
fi
status=0
if kill -0 "$saver" 2>/dev/null; then
  echo "the saver did not end on a key press" >&2
  status=1
else
  code=0
  wait "$saver" || code=$?
  saver=""
  echo "saver exit code: $code" >&2
  [ "$code" = 0 ] || status=1
fi
# A picture of one colour is the background alone (or no window at all).
[ ${#shots[@]} = 2 ] || { echo "a screenshot could not be taken" >&2; status=1; }
for s in "${shots[@]}"; do
  if [ "$(colours "$s")" -le 1 ]; then
    echo "$s shows nothing but one colour" >&2
    status=1
  fi
  echo "$root/$s"
done
exit $status
