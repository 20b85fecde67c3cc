#!/usr/bin/env bash
# The frame benchmark under wine: prints figures, passes or fails nothing.
#   tests/bench/frame_bench.sh [BUILD_DIR [SCR]]
# BUILD_DIR (default build/win) holds frame_bench.exe and preview_host.exe;
# SCR (default BUILD_DIR/vivarn.scr) is the saver whose CPU share is taken,
# so an older build can be measured beside the new one.
#
# 1. frame_bench.exe, frames back to back, a generation every frame, at
#    1920 x 1080 and 3840 x 2160, cell sizes 10, 5 and the finest (3 and 2),
#    draw modes 0 and 1, the shader path beside the mesh's,
#    with Mesa drawing (llvmpipe) and with GALLIUM_NOOP=1 (Mesa takes and
#    drops every draw: what is left is our CPU time and the driver's handling
#    of our data).
# 2. The same loop paced as the saver paces it: full screen (also on battery
#    and with the display off, as the power handler would have it), and as a
#    preview.
# 3. The saver itself at 1920 x 1080 with its default settings: the CPU share
#    of "/S", of "/p" (in preview_host.exe's window) and of the configuration
#    sheet with its preview, from /proc over a span after a warm-up.
# FRAME_BENCH_SAVER_ONLY=1 runs part 3 alone (for an older SCR, whose build
# tree may lack frame_bench.exe). FRAME_BENCH_MONITORS=1 runs only the CPU
# share of "/S" on two heads, for Monitors 0, 1 and 2, with the no-op driver. Each screen size gets its own Xvfb and wine
# prefix, removed at the end.
set -u
root="$(cd "$(dirname "$0")/../.." && pwd)"
export VIVARN_BUILD_DIR
VIVARN_BUILD_DIR="$(readlink -f "${1:-$root/build/win}")"
scr="$(readlink -f "${2:-$VIVARN_BUILD_DIR/vivarn.scr}")"
bench="$VIVARN_BUILD_DIR/frame_bench.exe"
SECONDS_PER_RUN="${FRAME_BENCH_SECONDS:-4}"
SPAN="${FRAME_BENCH_SPAN:-10}"
# shellcheck source=../../tools/wine-env.sh
. "$root/tools/wine-env.sh"
[ -f "$bench" ] || [ "${FRAME_BENCH_SAVER_ONLY:-0}" = 1 ] || [ "${FRAME_BENCH_MONITORS:-0}" = 1 ] || { echo "no $bench (build the win tree)" >&2; exit 1; }
[ -f "$scr" ] || { echo "no $scr" >&2; exit 1; }

work="$(mktemp -d /tmp/vivarn-bench.XXXXXX)"
RUN_PIDS=()
cleanup() {
  local pid
  for pid in "${RUN_PIDS[@]}"; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
  RUN_PIDS=()
  vivarn_end_wine
  vivarn_stop_xvfb
}
trap 'cleanup; rm -rf "$work"' EXIT
# The process list names the saver after its file: a copy of the given one
# under the shipped name makes every build look alike there.
cp "$scr" "$work/vivarn.scr"

begin_screen() {
  cleanup
  vivarn_private_prefix
  vivarn_start_xvfb "$1" || { echo "no Xvfb" >&2; exit 1; }
  wine cmd /c exit >/dev/null 2>&1  # the prefix's wineserver, started before anything is timed
}

# The Linux process that runs the Windows program NAME in this prefix.
linux_pid() {
  local p
  for p in $(pgrep -f "$1"); do
    tr '\0' '\n' 2>/dev/null <"/proc/$p/environ" | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
    [ "$(awk '$1 == "Name:" {print $2}' "/proc/$p/status" 2>/dev/null)" = "$1" ] || continue
    echo "$p"
    return 0
  done
  return 1
}

# Utime + stime of a process in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null; }

# share NAME: the CPU share of the running program NAME over $SPAN seconds,
# after 3 s for it to settle.
share() {
  local pid t0 t1 w0 w1
  vivarn_wait_for linux_pid "$1" -t 30 >/dev/null || { echo "not running"; return 1; }
  pid="$(linux_pid "$1")"
  sleep 3
  t0="$(cpu_ticks "$pid")" w0="$(date +%s%N)"
  sleep "$SPAN"
  t1="$(cpu_ticks "$pid")" w1="$(date +%s%N)"
  [ -n "$t0" ] && [ -n "$t1" ] || { echo "ended early"; return 1; }
  awk -v c=$((t1 - t0)) -v w=$((w1 - w0)) -v hz="$(getconf CLK_TCK)" \
    'BEGIN { printf "%.1f %% of a core\n", 100 * c / hz / (w / 1e9) }'
}

bench_line() {  # label, frame_bench arguments...
  local label="$1"
  shift
  printf '  %-34s ' "$label"
  wine "$bench" "$@" 2>/dev/null | tr -d '\r' || echo "failed"
}

# Two heads as tests/e2e/monitors.sh makes them: Xvfb puts both at 0,0, so a
# 1920 x 1080 primary lies inside a 2560 x 1440 second head.
if [ "${FRAME_BENCH_MONITORS:-0}" = 1 ]; then
  export GALLIUM_NOOP=1
  echo "two heads (1920x1080 primary inside 2560x1440), noop, $(basename "$scr") /S:"
  for monitors in 0 1 2; do
    cleanup
    vivarn_private_prefix
    vivarn_start_xvfb 1920x1080 2560x1440 || { echo "no Xvfb" >&2; exit 1; }
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1
    wine reg add "$VIVARN_SETTINGS_KEY" /v Monitors /t REG_DWORD /d "$monitors" /f >/dev/null 2>&1
    # The prefix's desktop process listed its monitors through XRandR already.
    wineserver -k
    wineserver -w
    wine cmd /c exit >/dev/null 2>&1
    printf '  %-34s ' "Monitors $monitors"
    wine "$work/vivarn.scr" /S >/dev/null 2>&1 &
    RUN_PIDS+=($!)
    share vivarn.scr
  done
  echo "load average $(cut -d' ' -f1-3 /proc/loadavg) at the end"
  exit 0
fi

saver_only="${FRAME_BENCH_SAVER_ONLY:-0}"
echo "frame benchmark, $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) at the start"
[ "$saver_only" = 1 ] || for size in 1920x1080 3840x2160; do
  begin_screen "$size"
  for driver in llvmpipe noop; do
    echo "$size, $driver, frames back to back:"
    # The finest cell size each screen offers with shaders: 640 x 360 cells
    # at 1920 x 1080 (cell size 3), two million cells at 3840 x 2160 (2).
    fine=3
    [ "$size" = 3840x2160 ] && fine=2
    for cell in 10 5 "$fine"; do
      for mode in 0 1; do
        # The shader path and the mesh's, one after the other, so that both
        # meet the same load.
        for path in shaders mesh; do
          extra=()
          [ "$path" = mesh ] && extra=(mesh)
          if [ "$driver" = noop ]; then
            GALLIUM_NOOP=1 bench_line "cell $cell, draw mode $mode, $path" "$cell" "$mode" "$SECONDS_PER_RUN" \
              "" "${extra[@]}"
          else
            bench_line "cell $cell, draw mode $mode, $path" "$cell" "$mode" "$SECONDS_PER_RUN" "" "${extra[@]}"
          fi
        done
      done
    done
  done
done

begin_screen 1920x1080
for driver in llvmpipe noop; do
  [ "$driver" = noop ] && export GALLIUM_NOOP=1
  if [ "$saver_only" != 1 ]; then
    echo "1920x1080, $driver, paced, default cell size 10 and draw mode 0:"
    bench_line "full screen" 10 0 "$SECONDS_PER_RUN" paced
    bench_line "full screen, mesh path" 10 0 "$SECONDS_PER_RUN" paced mesh
    # A field of one cell: what the paced loop costs without the field.
    bench_line "full screen, one cell" 1000 0 "$SECONDS_PER_RUN" paced
    bench_line "full screen on battery" 10 0 "$SECONDS_PER_RUN" battery
    bench_line "full screen, display off" 10 0 "$SECONDS_PER_RUN" display-off
    bench_line "preview (320 x 240 child)" 10 0 "$SECONDS_PER_RUN" preview
  fi
  echo "1920x1080, $driver, $(basename "$scr") with its default settings:"
  printf '  %-34s ' "/S"
  wine "$work/vivarn.scr" /S >/dev/null 2>&1 &
  RUN_PIDS+=($!)
  share vivarn.scr
  cleanup
  begin_screen 1920x1080
  printf '  %-34s ' "/p in a 320 x 240 host"
  wine "$VIVARN_BUILD_DIR/preview_host.exe" "$(printf 'Z:%s' "$work/vivarn.scr" | tr / '\\')" \
    "$(printf 'Z:%s' "$work/stop" | tr / '\\')" >/dev/null 2>&1 &
  RUN_PIDS+=($!)
  share vivarn.scr
  cleanup
  begin_screen 1920x1080
  printf '  %-34s ' "configuration sheet with preview"
  wine "$work/vivarn.scr" >/dev/null 2>&1 &
  RUN_PIDS+=($!)
  share vivarn.scr
  cleanup
  begin_screen 1920x1080
done
unset GALLIUM_NOOP
echo "load average $(cut -d' ' -f1-3 /proc/loadavg) at the end"
