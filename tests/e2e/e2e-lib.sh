# Shared steps of the end-to-end scripts. Source after tools/wine-env.sh.
#
#   e2e_begin [WxH [WxH]]     private prefix + private Xvfb (1280x1024 unless
#                             given; a second size adds a second screen),
#                             cleaned up on exit
#   e2e_fail MESSAGE          print and exit 1 (cleanup runs)
#   e2e_start_saver ARGS...   start the saver under wine; sets SAVER_PID
#   e2e_wait_exit PID SECONDS wait for PID to end; sets EXIT_CODE; 1 on timeout
#   e2e_census FILE [CROP]    "total black background colourful" pixel counts
#   e2e_screen_covered        true once a screenshot ($E2E_TMP/now.png) shows
#                             the saver's picture over the whole screen
#   e2e_focus_saver           give the full-screen saver window the keyboard
#                             focus (bare Xvfb has no window manager to do it)
#   e2e_probe ARGS...         window_probe.exe (rect, close) on the sheet
#   e2e_control_rect ID       sets X Y W H of the sheet's control ID in screen
#                             pixels (0: the sheet itself); 1 while not shown
#   e2e_wine_path FILE        the Z: path of a host file
set -u

E2E_PIDS=()
e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  vivarn_end_wine
  vivarn_stop_xvfb
  [ -n "${E2E_TMP:-}" ] && rm -rf "$E2E_TMP"
}

e2e_begin() {
  : "${VIVARN_SCR:?VIVARN_SCR is not set}"
  E2E_TMP="$(mktemp -d /tmp/vivarn-e2e.XXXXXX)"
  trap e2e_cleanup EXIT
  vivarn_private_prefix
  vivarn_start_xvfb "${1:-1280x1024}" "${2:-}" || e2e_fail "no Xvfb"
  # Start the prefix's wineserver now, so the saver's start-up is not timed
  # together with the server's.
  wine cmd /c exit >/dev/null 2>&1
}

e2e_fail() {
  echo "FAIL: $*" >&2
  exit 1
}

e2e_start_saver() {
  vivarn_refuse_foreign_imports "$VIVARN_SCR" || e2e_fail "the saver would not start on Windows"
  wine "$VIVARN_SCR" "$@" >"$E2E_TMP/saver.out" 2>&1 &
  SAVER_PID=$!
  E2E_PIDS+=("$SAVER_PID")
}

e2e_wait_exit() {
  local pid="$1" seconds="$2"
  vivarn_wait_for bash -c "! kill -0 $pid 2>/dev/null" -t "$seconds" || return 1
  wait "$pid"
  EXIT_CODE=$?
  return 0
}

# Background: the saver's default colour (0, 0, 0.3) = RGB (0, 0, 76).
# Colourful: a saturated pixel (channels spread by more than 60), as drawn cells
# of the rainbow palette are, whatever the blending with the background.
e2e_census() {
  local file="$1" crop="${2:-}"
  local args=("$file")
  [ -n "$crop" ] && args+=(-crop "$crop" +repage)
  convert "${args[@]}" -depth 8 -format %c histogram:info:- |
    sed -E 's/^ *([0-9]+): *\( *([0-9]+), *([0-9]+), *([0-9]+).*/\1 \2 \3 \4/' |
    awk '{
      n = $1; r = $2; g = $3; b = $4
      total += n
      if (r < 8 && g < 8 && b < 8) black += n
      else if (r < 10 && g < 10 && b >= 66 && b <= 86) bg += n
      else {
        hi = r; if (g > hi) hi = g; if (b > hi) hi = b
        lo = r; if (g < lo) lo = g; if (b < lo) lo = b
        if (hi - lo > 60) colourful += n
      }
    } END { printf "%d %d %d %d\n", total, black, bg, colourful }'
}

e2e_wine_path() {
  printf 'Z:%s' "$(readlink -f "$1" | tr / '\\')"
}

# The Linux process that runs the saver's Windows code in this test's prefix
# (wine may start it through a loader process, so $SAVER_PID is not enough).
e2e_saver_linux_pid() {
  local p
  for p in $(pgrep -f 'vivarn\.scr'); do
    tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
    # wine names the process after the Windows program it runs.
    [ "$(awk '$1 == "Name:" {print $2}' "/proc/$p/status" 2>/dev/null)" = vivarn.scr ] || continue
    echo "$p"
    return 0
  done
  return 1
}

# One field of /proc/<pid>/status in kB.
e2e_status_kb() {
  awk -v f="$2:" '$1 == f {print $2}' "/proc/$1/status" 2>/dev/null
}

e2e_screen_covered() {
  vivarn_screenshot "$E2E_TMP/now.png" || return 1
  local total black bg colourful
  read -r total black bg colourful < <(e2e_census "$E2E_TMP/now.png")
  # The background's share depends on how far the field has thinned out since
  # its dense first fill, which depends on the machine's speed: a tenth is
  # enough to show the background colour is there.
  [ "$total" -gt 0 ] && [ $((black * 100)) -lt "$total" ] && [ $((bg * 100)) -ge $((10 * total)) ] &&
    [ $((colourful * 1000)) -ge $((2 * total)) ]
}

e2e_focus_saver() {
  local id
  id=$(xwininfo -root -tree 2>/dev/null | grep -E '\("vivarn\.scr" "vivarn\.scr"\) +1280x1024\+0\+0' | awk '{print $1}' | head -n 1)
  [ -n "$id" ] && xdotool windowfocus --sync "$id"
}

# The configuration sheet's title, as the window probe looks it up.
readonly E2E_SHEET_TITLE="Vivarn ScreenSaver"
# The probe's own exit code, not the pipe's: a failed probe must fail its caller.
e2e_probe() { wine "$VIVARN_BUILD_DIR/window_probe.exe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
e2e_control_rect() {
  local rect
  rect="$(e2e_probe rect "$E2E_SHEET_TITLE" "$1")" || return 1
  read -r _ left top right bottom <<<"$rect"
  X=$left Y=$top W=$((right - left)) H=$((bottom - top))
  [ "$W" -gt 0 ] && [ "$H" -gt 0 ]
}

e2e_reg_value() {  # key, name: the value's data, "" without one
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n {$1 = ""; $2 = ""; sub(/^ +/, ""); print}'
}
