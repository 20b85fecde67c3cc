#!/usr/bin/env bash
# A 60-second "/S" run keeps a steady memory footprint: the saver's private
# memory at 10 s and at 60 s differ by at most 5 %.
#
# Private bytes are Windows' committed private memory; the closest Linux figure
# for the process that runs the saver's code is VmData (private data, heap and
# anonymous mappings), which grows when the program leaks. RssAnon (touched
# pages) is printed too: it creeps up by a few per cent as the software
# renderer fills its caches, without any allocation by the program.
here="$(cd "$(dirname "$0")" && pwd)"
. "$VIVARN_SOURCE_DIR/tools/wine-env.sh"
. "$here/e2e-lib.sh"
e2e_begin

# Mesa's software rasteriser keeps a pool of scenes that it grows when a frame
# is still being rasterised as the next begins, which depends on the machine's
# load: on a bare machine running other tests beside this one, VmData stepped
# once by 6.4 MB between 10 s and 60 s (with RssAnon unchanged to the kB),
# and runs here settle on either level. With Mesa's no-op driver the figures
# are the saver's own: the same program, window and GL calls, nothing drawn.
export GALLIUM_NOOP=1
e2e_start_saver /S
started=$(date +%s%N)
vivarn_wait_for e2e_saver_linux_pid -t 60 >/dev/null || e2e_fail "no process runs the saver"
pid=$(e2e_saver_linux_pid)
echo "saver process $pid: $(tr '\0' ' ' <"/proc/$pid/cmdline")"

sample_at() {  # seconds since start -> RssAnon in kB
  while [ $(( ($(date +%s%N) - started) / 1000000000 )) -lt "$1" ]; do
    kill -0 "$pid" 2>/dev/null || e2e_fail "the saver ended before ${1} s"
    sleep 0.5
  done
  e2e_status_kb "$pid" RssAnon
}
rss10=$(sample_at 10)
at10=$(e2e_status_kb "$pid" VmData)
rss60=$(sample_at 60)
at60=$(e2e_status_kb "$pid" VmData)
echo "VmData: ${at10} kB at 10 s, ${at60} kB at 60 s; RssAnon: ${rss10} kB, ${rss60} kB"
[ -n "$at10" ] && [ -n "$at60" ] && [ "$at10" -gt 0 ] || e2e_fail "no memory figures"
diff=$((at60 - at10)); [ "$diff" -lt 0 ] && diff=$((-diff))
[ $((diff * 100)) -le $((5 * at10)) ] || e2e_fail "memory moved by $diff kB from $at10 kB (over 5 %)"

xdotool key space
e2e_wait_exit "$SAVER_PID" 5 || e2e_fail "still running after a key press"
[ "$EXIT_CODE" = 0 ] || e2e_fail "exit code $EXIT_CODE"
echo "PASS"
