#!/usr/bin/env bash
# Start to first frame under wine: from a process's first DLL load to its
# first buffer swap, read from wine's own timestamped traces (+loaddll,
# +wgl). Prints figures, passes or fails nothing.
#   tests/bench/first_frame.sh [BUILD_DIR [RUNS]]
# FIRST_FRAME_DRIVERS="noop" (or "llvmpipe") times one driver only.
# Each run starts "/S" at 1920 x 1080 in a private Xvfb and wine prefix, with
# Mesa drawing (llvmpipe) and with GALLIUM_NOOP=1 (the first frame's drawing
# left out); the prefix, its wineserver and wine's desktop process are up
# before the first counted run, so the figure is the saver's own start.
# Beside each saver run the same prefix starts minimal_gl.exe (a window, a
# pixel format, a context, one clear and one swap: the floor any full-screen
# GL program stands on), the two in turn and each first in every other pair,
# so that a machine busy with other work weighs on both alike. The saver's
# excess over that floor, pair by pair, is the figure to watch.
# The saver's second frame is timed too: where the field is drawn by shaders
# the first frame goes out before they are built, and the second is the
# first that shows cells.
set -u
root="$(cd "$(dirname "$0")/../.." && pwd)"
export VIVARN_BUILD_DIR
VIVARN_BUILD_DIR="$(readlink -f "${1:-$root/build/win}")"
runs="${2:-5}"
# shellcheck source=../../tools/wine-env.sh
. "$root/tools/wine-env.sh"
scr="$VIVARN_BUILD_DIR/vivarn.scr"
floor="$VIVARN_BUILD_DIR/minimal_gl.exe"
for program in "$scr" "$floor"; do
  [ -f "$program" ] || { echo "no $program (build the win tree)" >&2; exit 1; }
done

work="$(mktemp -d /tmp/vivarn-first-frame.XXXXXX)"
saver=""
cleanup() {
  [ -n "$saver" ] && kill "$saver" 2>/dev/null && wait "$saver" 2>/dev/null
  saver=""
  vivarn_end_wine
  vivarn_stop_xvfb
}
trap 'cleanup; rm -rf "$work"' EXIT

vivarn_private_prefix
vivarn_start_xvfb 1920x1080 || { echo "no Xvfb" >&2; exit 1; }
wine cmd /c exit >/dev/null 2>&1

swapped() { [ "$(grep -c 'SwapBuffers' "$work/trace.txt")" -ge "${1:-1}" ]; }

# Milliseconds from the first loaddll line to swap number N (1 the first) of
# the process that swapped. Trace lines begin
# "SECONDS.MILLIS:PID:TID:trace:CHANNEL:...".
frame_ms() {
  awk -F: -v n="$1" '/SwapBuffers/ && ++swaps == n { swap = $1; pid = $2 }
           { t[NR] = $1; p[NR] = $2; line[NR] = $0 }
           END {
             if (swap == "") exit 1
             for (i = 1; i <= NR; ++i)
               if (p[i] == pid && line[i] ~ /:loaddll:/) { printf "%.0f\n", (swap - t[i]) * 1000; exit 0 }
             exit 1
           }' "$work/trace.txt"
}

# One run of a program: the milliseconds to its first swap, or nothing when
# no swap was traced in time. With SECOND set, those to its second swap go
# to that file (the saver's first frame covers the screen before the field's
# shaders are built; the second carries the cells).
run_once() {
  WINEDEBUG=+timestamp,+pid,+loaddll,+wgl wine "$@" >/dev/null 2>"$work/trace.txt" &
  saver=$!
  local ms=""
  if [ -n "${SECOND:-}" ]; then
    vivarn_wait_for swapped 2 -t 60 && frame_ms 2 >>"$SECOND"
  else
    vivarn_wait_for swapped -t 60
  fi
  ms="$(frame_ms 1)"
  kill "$saver" 2>/dev/null && wait "$saver" 2>/dev/null
  saver=""
  echo "$ms"
}

# "median M ms of N runs (min A, max B)" for the numbers on standard input.
summary() {
  sort -n | awk '{v[NR] = $1}
    END {
      if (NR == 0) { print "no swap traced"; exit }
      printf "median %d ms of %d runs (min %d, max %d)\n", v[int((NR + 1) / 2)], NR, v[1], v[NR]
    }'
}

echo "start to first frame, /S at 1920 x 1080, $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
# The first run also starts wine's desktop process (explorer.exe), which then
# stays for the later runs as it would on a running system: not counted.
run_once "$scr" /S >/dev/null
run_once "$floor" >/dev/null
for driver in ${FIRST_FRAME_DRIVERS:-llvmpipe noop}; do
  if [ "$driver" = noop ]; then export GALLIUM_NOOP=1; else unset GALLIUM_NOOP; fi
  savers=() floors=() excess=()
  : >"$work/second.txt"
  for ((run = 1; run <= runs; ++run)); do
    if ((run % 2)); then
      s="$(SECOND="$work/second.txt" run_once "$scr" /S)"
      f="$(run_once "$floor")"
    else
      f="$(run_once "$floor")"
      s="$(SECOND="$work/second.txt" run_once "$scr" /S)"
    fi
    [ -n "$s" ] && savers+=("$s")
    [ -n "$f" ] && floors+=("$f")
    [ -n "$s" ] && [ -n "$f" ] && excess+=("$((s - f))")
  done
  printf '  %-9s saver      %s\n' "$driver:" "$(printf '%s\n' "${savers[@]}" | grep . | summary)"
  printf '  %-9s minimal GL %s\n' "" "$(printf '%s\n' "${floors[@]}" | grep . | summary)"
  printf '  %-9s excess     %s\n' "" "$(printf '%s\n' "${excess[@]}" | grep . | summary)"
  printf '  %-9s saver, second frame %s\n' "" "$(summary <"$work/second.txt")"
done
