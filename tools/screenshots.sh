#!/usr/bin/env bash
# Remakes the README's pictures from the real program under wine in a private
# Xvfb and prefix: full screen in particle mode, full screen in field mode with
# the statistics, full screen with smooth generations, and the configuration
# sheet's Video page.
#   tools/screenshots.sh        (after tools/build.sh win; writes docs/*.png)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scr="$root/build/win/vivarn.scr"
probe_exe="$root/build/win/window_probe.exe"
[ -f "$scr" ] && [ -f "$probe_exe" ] || { echo "build the Windows tree first: tools/build.sh win" >&2; exit 1; }
out="$root/docs"
mkdir -p "$out"

. tools/wine-env.sh
export VIVARN_BUILD_DIR="$root/build/win"
. tests/e2e/e2e-lib.sh  # the window probe's helpers
tmp="$(mktemp -d /tmp/vivarn-shots.XXXXXX)"
pid=""
cleanup() {
  # A killed saver's status must not end the clean-up half way (errexit).
  set +e
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  vivarn_end_wine
  vivarn_stop_xvfb
  rm -rf "$tmp"
}
trap cleanup EXIT
vivarn_private_prefix
vivarn_start_xvfb 1024x768

setting() {  # name, DWORD
  wine reg add "$VIVARN_SETTINGS_KEY" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1
}
not_one_colour() {
  vivarn_screenshot "$tmp/now.png" && [ "$(convert "$tmp/now.png" -format %k info:)" -gt 1 ]
}
stop_saver() {
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null || true
  pid=""
  wineserver -w
}
# Small pictures for the README: half size, a limited palette.
keep() {  # screenshot, name
  convert "$1" -resize 50% -colors 128 "PNG8:$out/$2.png"
  echo "$out/$2.png"
}

full_screen() {  # name, after seconds
  wine "$scr" /S >/dev/null 2>&1 &
  pid=$!
  vivarn_wait_for not_one_colour -t 60 || { echo "screenshots: the saver showed nothing" >&2; exit 1; }
  sleep "$2"  # let the field evolve from its first fill
  vivarn_screenshot "$tmp/shot.png"
  keep "$tmp/shot.png" "$1"
  stop_saver
}

# Particle mode, the default look.
setting FieldDrawMode 0
setting ShowStat 0
full_screen fullscreen-particles 4

# Field mode with the statistics overlay.
setting FieldDrawMode 1
setting ShowStat 1
setting CellSize 6
full_screen fullscreen-field-statistics 4

# Smooth generations at the slowest speed (1000 ms a generation), cells dying
# at once: the dimmer particles are cells fading in or out between two
# generations.
setting SmoothGenerations 1
setting FieldDrawMode 0
setting DieSlowly 0
setting CellSize 16
setting ShowStat 0
wine reg add "$VIVARN_SETTINGS_KEY" /v LifeSpeed /t REG_BINARY /d 00007a44 /f >/dev/null 2>&1
full_screen fullscreen-smooth-generations 5
setting SmoothGenerations 0
setting DieSlowly 1
wine reg add "$VIVARN_SETTINGS_KEY" /v LifeSpeed /t REG_BINARY /d 00000000 /f >/dev/null 2>&1

# The configuration sheet with its advanced pages, on the Video page.
setting ShowAdvancedCFG 1
setting ShowStat 0
setting FieldDrawMode 0
setting CellSize 10
wine "$scr" >/dev/null 2>&1 &
pid=$!
readonly tab_control=12320
vivarn_wait_for e2e_control_rect "$tab_control" -t 60 || { echo "screenshots: no configuration sheet" >&2; exit 1; }
# A click on the first tab gives the tab control the focus; Video is three
# tabs to its right.
xdotool mousemove $((X + 15)) $((Y + 8)) click 1
xdotool key Right Right Right
sleep 2  # the preview draws a few frames
e2e_control_rect 0
vivarn_screenshot "$tmp/shot.png"
convert "$tmp/shot.png" -crop "${W}x${H}+${X}+${Y}" +repage "$tmp/sheet.png"
convert "$tmp/sheet.png" -colors 128 "PNG8:$out/configuration-video.png"
echo "$out/configuration-video.png"
