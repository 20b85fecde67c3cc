#!/usr/bin/env bash
# "/S" on two monitors. Xvfb with two Xinerama screens, and wine told not to
# ask XRandR (which sees one), makes wine report two monitors. Xvfb puts both
# heads at 0,0: a primary of 800x600 inside a second monitor of 1024x768, so
# the virtual screen (1024x768) differs from the primary's. For "Monitors" 0,
# 1 and 2: no display mode is changed and the saver's window covers the
# virtual screen; with 0 the picture fills all of it, with 1 it fills the
# primary's area and the rest is black, with 2 each head has a field of its
# own: the larger head's, drawn beneath the primary's, is seen around it, and
# wine's +opengl trace shows both drawn, each through its head's viewport. A
# key press ends each run.
here="$(cd "$(dirname "$0")" && pwd)"
. "$VIVARN_SOURCE_DIR/tools/wine-env.sh"
. "$here/e2e-lib.sh"
e2e_begin 800x600 1024x768
shots="$VIVARN_BUILD_DIR/e2e-shots"
mkdir -p "$shots"
END_DEADLINE=30  # see fullscreen.sh

wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1 ||
  e2e_fail "could not turn XRandR off"
# The running desktop process listed its monitors through XRandR already.
wineserver -k
wineserver -w
read -r _ count vx vy vw vh <<<"$(e2e_probe monitors)"
[ "${count:-0}" = 2 ] || e2e_fail "wine reports ${count:-no} monitors, not 2"
[ "$vx $vy $vw $vh" = "0 0 1024 768" ] || e2e_fail "virtual screen $vx,$vy ${vw}x$vh, not 0,0 1024x768"

SAVER_WINDOW='\("vivarn\.scr" "vivarn\.scr"\) +1024x768\+0\+0'
window_covers_virtual_screen() { xwininfo -root -tree 2>/dev/null | grep -qE "$SAVER_WINDOW"; }

# "total black background colourful" of one part of the last screenshot.
part() { e2e_census "$E2E_TMP/now.png" "$1"; }

# The part shows the saver's picture: almost no black, some background colour
# and some coloured cells (thresholds as in e2e_screen_covered).
part_drawn() {
  local total black bg colourful
  read -r total black bg colourful < <(part "$1")
  [ "$total" -gt 0 ] && [ $((black * 100)) -lt "$total" ] && [ $((bg * 100)) -ge $((10 * total)) ] &&
    [ $((colourful * 1000)) -ge $((2 * total)) ]
}
part_black() {
  local total black
  read -r total black _ < <(part "$1")
  [ "$total" -gt 0 ] && [ "$black" = "$total" ]
}

# Outside the primary: the strip right of it and the one below it.
RIGHT=224x768+800+0
BELOW=800x168+0+600
PRIMARY=800x600+0+0
spans_all() { vivarn_screenshot "$E2E_TMP/now.png" && part_drawn 1024x768+0+0 && part_drawn "$RIGHT" && part_drawn "$BELOW"; }
primary_only() { vivarn_screenshot "$E2E_TMP/now.png" && part_drawn "$PRIMARY" && part_black "$RIGHT" && part_black "$BELOW"; }

# Each head drawn through its own viewport: the primary's 800x600 (rows
# counted from the bottom of the 768) and the second head's whole 1024x768.
PRIMARY_VIEWPORT='glViewport x 0, y 168, width 800, height 600'
SECOND_VIEWPORT='glViewport x 0, y 0, width 1024, height 768'
own_fields() {
  grep -q "$PRIMARY_VIEWPORT" "$E2E_TMP/saver.out" && grep -q "$SECOND_VIEWPORT" "$E2E_TMP/saver.out"
}

run() {  # Monitors value, picture check, wine debug channels beyond +system
  wine reg add "$VIVARN_SETTINGS_KEY" /v Monitors /t REG_DWORD /d "$1" /f >/dev/null 2>&1 ||
    e2e_fail "could not store Monitors $1"
  # The system channel traces every display-mode change the saver asks for.
  local quiet="$WINEDEBUG"
  export WINEDEBUG=+system${3:+,$3}
  e2e_start_saver /S
  export WINEDEBUG="$quiet"
  vivarn_wait_for window_covers_virtual_screen -t 60 || e2e_fail "Monitors $1: no window over the virtual screen"
  if ! vivarn_wait_for "$2" -t 20; then
    e2e_fail "Monitors $1: not the expected picture (whole, right, below, primary:" \
      "$(part 1024x768+0+0) / $(part $RIGHT) / $(part $BELOW) / $(part $PRIMARY))"
  fi
  cp "$E2E_TMP/now.png" "$shots/monitors$1.png"
  grep -q 'trace:system' "$E2E_TMP/saver.out" || e2e_fail "Monitors $1: no system trace to check the display mode in"
  ! grep -q 'NtUserChangeDisplaySettings flags=FULLSCREEN' "$E2E_TMP/saver.out" ||
    e2e_fail "Monitors $1: the display mode was changed"
  kill -0 "$SAVER_PID" 2>/dev/null || e2e_fail "Monitors $1: the saver ended by itself"
  local id
  id=$(xwininfo -root -tree 2>/dev/null | grep -E "$SAVER_WINDOW" | awk '{print $1}' | head -n 1)
  [ -n "$id" ] && xdotool windowfocus --sync "$id" || e2e_fail "Monitors $1: no saver window to focus"
  xdotool key space
  e2e_wait_exit "$SAVER_PID" "$END_DEADLINE" || e2e_fail "Monitors $1: still running $END_DEADLINE s after a key press"
  [ "$EXIT_CODE" = 0 ] || e2e_fail "Monitors $1: exit code $EXIT_CODE"
  echo "Monitors $1: whole $(part 1024x768+0+0), outside the primary $(part $RIGHT) / $(part $BELOW)"
}

run 0 spans_all
run 1 primary_only
run 2 spans_all +opengl
own_fields || e2e_fail "Monitors 2: the heads were not drawn through their own viewports"
echo "Monitors 2: both heads drawn, through viewports $(grep -c "$PRIMARY_VIEWPORT" "$E2E_TMP/saver.out") and" \
  "$(grep -c "$SECOND_VIEWPORT" "$E2E_TMP/saver.out") times"
echo "PASS"
