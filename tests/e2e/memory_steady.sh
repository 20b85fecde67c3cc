#!/usr/bin/env bash
# A "/S" run keeps a steady memory footprint: over 50 s of frames the saver's
# private memory grows by at most 50 kB a minute more than that of
# gl_loop.exe, a plain GL loop making the same kinds of calls at the same
# frame rate, run beside it under the same driver.
#
# Private bytes are Windows' committed private memory; the Linux figure for
# the process that runs the saver's code is its private pages (Private_Clean
# + Private_Dirty of /proc/PID/smaps_rollup), which grow when the program
# leaks. The yardstick is for wine and Mesa's no-op driver: on Windows a leak
# check reads the process's private bytes over a run on the vendor's driver.
#
# Mesa's no-op driver draws nothing but still keeps about 250 bytes for each
# frame of these calls (the immediate-mode quad, and the colours sent to a
# buffer object or the cell values to a float texture each generation; the
# same in gl_loop.exe, which draws the field by the path the saver takes on
# the same context), and its pools and
# wine's heap give back or take up hundreds of kB to megabytes now and then,
# more often on a loaded machine. So both processes are sampled together
# every 2 s; an interval whose growth is more than 24 kB away from the
# process's median growth holds such a step (or the start's allocations) and
# is left out; the growth of the remaining intervals over the frames drawn in
# them is compared, bytes per frame, so a process that a loaded machine slows
# gets no credit for it. A steady leak of 100 bytes a frame is 360 kB a minute
# at 60 frames a second. A leak that raises the saver's median growth more
# than twice the loop's plus 16 kB fails by that alone.
#
# Frames are counted from wine's trace of each SwapBuffers call. On Windows
# the count would come from the program itself or from the system's present
# events; wine has neither for a process seen from outside.
here="$(cd "$(dirname "$0")" && pwd)"
. "$VIVARN_SOURCE_DIR/tools/wine-env.sh"
. "$here/e2e-lib.sh"
e2e_begin

readonly step_s=2 intervals=25 limit_kb_min=50
# The llvmpipe rasteriser's own scene pools grow with the machine's load, by
# megabytes; with the no-op driver the figures are the program's and the
# driver's bookkeeping for its calls, nothing drawn.
export GALLIUM_NOOP=1
WINEDEBUG=+wgl wine "$VIVARN_BUILD_DIR/gl_loop.exe" 180 >"$E2E_TMP/loop.out" 2>&1 &
E2E_PIDS+=($!)
WINEDEBUG=+wgl e2e_start_saver /S

linux_pid() {  # Windows program name -> the Linux process running it in this prefix
  local p
  for p in $(pgrep -f "$1"); do
    tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
    [ "$(awk '$1 == "Name:" {print $2}' "/proc/$p/status" 2>/dev/null)" = "$1" ] && echo "$p" && return 0
  done
  return 1
}
vivarn_wait_for linux_pid vivarn.scr -t 60 >/dev/null || e2e_fail "no process runs the saver"
vivarn_wait_for linux_pid gl_loop.exe -t 60 >/dev/null || e2e_fail "gl_loop.exe does not run: $(cat "$E2E_TMP/loop.out")"
saver=$(linux_pid vivarn.scr)
loop=$(linux_pid gl_loop.exe)

private_kb() { awk '/^Private_(Clean|Dirty):/ {kb += $2} END {print kb + 0}' "/proc/$1/smaps_rollup" 2>/dev/null; }
swaps() { grep -c 'wglSwapBuffers' "$1"; }
# Sampling starts once both draw (a second of frames each), however long a
# loaded machine takes to start them.
drawing() { [ "$(swaps "$E2E_TMP/saver.out")" -ge 60 ] && [ "$(swaps "$E2E_TMP/loop.out")" -ge 60 ]; }
vivarn_wait_for drawing -t 60 || e2e_fail "no frames from the saver and the GL loop within 60 s"
started=$(date +%s%N)
samples=()  # "saver_kb saver_frames loop_kb loop_frames", one a sample
for ((i = 0; i <= intervals; i++)); do
  while [ $(( ($(date +%s%N) - started) / 1000000 )) -lt $((i * step_s * 1000)) ]; do sleep 0.1; done
  kill -0 "$saver" 2>/dev/null || e2e_fail "the saver ended before the sample at $((i * step_s)) s"
  kill -0 "$loop" 2>/dev/null || e2e_fail "gl_loop.exe ended before the sample at $((i * step_s)) s"
  samples+=("$(private_kb "$saver") $(swaps "$E2E_TMP/saver.out") $(private_kb "$loop") $(swaps "$E2E_TMP/loop.out")")
done
printf '%s\n' "${samples[@]}" >"$E2E_TMP/samples"
echo "private kB and frames so far, every $step_s s (saver kB, frames, loop kB, frames):"
paste -sd ',' "$E2E_TMP/samples"

# Prints "verdict saver_median loop_median bound saver_bytes_per_frame loop_bytes_per_frame kept_saver kept_loop".
read -r verdict saver_median loop_median bound saver_bpf loop_bpf saver_kept loop_kept < <(
  awk -v limit="$limit_kb_min" '
    function median(a, n,   i, j, t, b) {
      for (i = 1; i <= n; i++) b[i] = a[i]
      for (i = 2; i <= n; i++) for (j = i; j > 1 && b[j - 1] > b[j]; j--) { t = b[j]; b[j] = b[j - 1]; b[j - 1] = t }
      return b[int((n + 1) / 2)]
    }
    { kb[0, NR] = $1; fr[0, NR] = $2; kb[1, NR] = $3; fr[1, NR] = $4 }
    END {
      n = NR - 1
      for (p = 0; p < 2; p++) for (i = 1; i <= n; i++) d[p, i] = kb[p, i + 1] - kb[p, i]
      for (i = 1; i <= n; i++) { ds[i] = d[0, i]; dl[i] = d[1, i] }
      ms = median(ds, n); ml = median(dl, n)
      bound = 2 * (ml > 0 ? ml : 0) + 16
      m[0] = ms; m[1] = ml
      for (p = 0; p < 2; p++) {
        grow[p] = 0; frames[p] = 0; kept[p] = 0
        for (i = 1; i <= n; i++) {
          f = fr[p, i + 1] - fr[p, i]
          if (f <= 0 || d[p, i] > m[p] + 24 || d[p, i] < m[p] - 24) continue
          grow[p] += d[p, i]; frames[p] += f; kept[p]++
        }
        bpf[p] = frames[p] > 0 ? grow[p] * 1024 / frames[p] : 0
      }
      # Bytes a frame at 60 frames a second, in kB a minute.
      excess = (bpf[0] - bpf[1]) * 3600 / 1024
      ok = ms <= bound && kept[0] * 4 >= n && kept[1] * 4 >= n && excess <= limit
      printf "%s %d %d %d %d %d %d %d\n", ok ? "steady" : "leaking", ms, ml, bound, bpf[0], bpf[1], kept[0], kept[1]
    }' "$E2E_TMP/samples")
echo "median growth in $step_s s: saver $saver_median kB, loop $loop_median kB (bound $bound kB); steps beyond 24 kB of the median left out"
echo "per frame over the steady intervals: saver $saver_bpf bytes ($saver_kept intervals), loop $loop_bpf bytes ($loop_kept)"
[ "$verdict" = steady ] ||
  e2e_fail "the saver keeps more memory per frame than the GL loop by over $limit_kb_min kB a minute at 60 frames a second"

# The loop's window and frames go first: the key is for the saver alone.
kill "$loop"
vivarn_wait_for bash -c "! kill -0 $loop 2>/dev/null" -t 10 || e2e_fail "gl_loop.exe does not end"
e2e_focus_saver
xdotool key space
# On a loaded machine (load 20 on two cores) the saver's wine process took up
# to 8 s to end.
e2e_wait_exit "$SAVER_PID" 30 || e2e_fail "still running 30 s after a key press"
[ "$EXIT_CODE" = 0 ] || e2e_fail "exit code $EXIT_CODE"
echo "PASS"
