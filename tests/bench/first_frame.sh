#!/usr/bin/env bash
# Start to first frame under wine: from the saver process's first DLL load to
# its first buffer swap, read from wine's own timestamped traces (+loaddll,
# +wgl). Prints figures, passes or fails nothing.
#   tests/bench/first_frame.sh [BUILD_DIR [RUNS]]
# Each run starts "/S" at 1920 x 1080 in a private Xvfb and wine prefix, with
# Mesa drawing (llvmpipe) and with GALLIUM_NOOP=1 (the first frame's drawing
# left out); the prefix, its wineserver and wine's desktop process are up
# before the first counted run, so the figure is the saver's own start.
set -u
root="$(cd "$(dirname "$0")/../.." && pwd)"
export VIVARN_BUILD_DIR
VIVARN_BUILD_DIR="$(readlink -f "${1:-$root/build/win}")"
runs="${2:-5}"
# shellcheck source=../../tools/wine-env.sh
. "$root/tools/wine-env.sh"
scr="$VIVARN_BUILD_DIR/vivarn.scr"
[ -f "$scr" ] || { echo "no $scr (build the win tree)" >&2; exit 1; }

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

swapped() { grep -q 'SwapBuffers' "$work/trace.txt"; }

# Milliseconds from the first loaddll line to the first swap of the process
# that swapped. Trace lines begin "SECONDS.MILLIS:PID:TID:trace:CHANNEL:...".
first_frame_ms() {
  awk -F: '/SwapBuffers/ && swap == "" { swap = $1; pid = $2 }
           { t[NR] = $1; p[NR] = $2; line[NR] = $0 }
           END {
             if (swap == "") exit 1
             for (i = 1; i <= NR; ++i)
               if (p[i] == pid && line[i] ~ /:loaddll:/) { printf "%.0f\n", (swap - t[i]) * 1000; exit 0 }
             exit 1
           }' "$work/trace.txt"
}

# One run: the milliseconds, or nothing when no swap was traced in time.
run_once() {
  WINEDEBUG=+timestamp,+pid,+loaddll,+wgl wine "$scr" /S >/dev/null 2>"$work/trace.txt" &
  saver=$!
  local ms=""
  vivarn_wait_for swapped -t 60 && ms="$(first_frame_ms)"
  kill "$saver" 2>/dev/null && wait "$saver" 2>/dev/null
  saver=""
  echo "$ms"
}

echo "start to first frame, /S at 1920 x 1080, $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
# The first run also starts wine's desktop process (explorer.exe), which then
# stays for the later runs as it would on a running system: not counted.
run_once >/dev/null
for driver in llvmpipe noop; do
  if [ "$driver" = noop ]; then export GALLIUM_NOOP=1; else unset GALLIUM_NOOP; fi
  figures=()
  for ((run = 1; run <= runs; ++run)); do
    ms="$(run_once)"
    [ -n "$ms" ] && figures+=("$ms")
  done
  printf '  %-9s ' "$driver:"
  if [ "${#figures[@]}" -gt 0 ]; then
    printf '%s\n' "${figures[@]}" | sort -n |
      awk '{v[NR] = $1} END {printf "median %d ms of %d runs (min %d, max %d)\n", v[int((NR + 1) / 2)], NR, v[1], v[NR]}'
  else
    echo "no swap traced"
  fi
done
