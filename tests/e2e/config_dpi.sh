#!/usr/bin/env bash
# The configuration sheet at 200 % (LogPixels 192, set before the saver
# starts): measured in a screenshot, the preview pane's widening is 640 pixels
# (320 at 96 DPI) and the Video page's gradient control draws its start square
# 18 x 22 pixels (9 x 11 at 96 DPI). The screenshot is kept as
# e2e-shots/config-sheet-192dpi.png.
here="$(cd "$(dirname "$0")" && pwd)"
. "$VIVARN_SOURCE_DIR/tools/wine-env.sh"
. "$here/e2e-lib.sh"
# A screen with room for the doubled sheet.
e2e_begin 2560x1600
shots="$VIVARN_BUILD_DIR/e2e-shots"
mkdir -p "$shots"

readonly pane_id=320 tab_id=12320 gradient_id=1043 save_as_id=1046

# "x y" of every pixel of FILE (cropped to GEOMETRY) that is not pure white.
not_white() {
  convert "$1" -crop "$2" +repage -depth 8 txt:- |
    awk -F'[ ,:]+' 'NR > 1 && $0 !~ /#FFFFFF/ {print $1, $2}'
}

wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1 &&
  wine reg add "$VIVARN_SETTINGS_KEY" /v ShowAdvancedCFG /t REG_DWORD /d 1 /f >/dev/null 2>&1 ||
  e2e_fail "cannot set the DPI"
e2e_start_saver

vivarn_wait_for e2e_control_rect "$pane_id" -t 60 || e2e_fail "the sheet's preview pane did not appear"
e2e_control_rect "$tab_id" || e2e_fail "no tab control"
tab_left=$X
# A click on the first tab, then Ctrl+Tab on to the fourth, "Video".
xdotool mousemove $((X + 12)) $((Y + 8)) click 1
xdotool key ctrl+Tab ctrl+Tab ctrl+Tab
vivarn_wait_for e2e_control_rect "$save_as_id" -t 10 || e2e_fail "the Video page did not open"
e2e_control_rect "$gradient_id" || e2e_fail "no gradient control"
gradient="${W}x${H}+${X}+${Y}"
e2e_control_rect "$pane_id"

# The preview is drawn once the pane shows the background colour.
pane_drawn() {
  vivarn_screenshot "$E2E_TMP/sheet.png" || return 1
  local total black bg colourful
  read -r total black bg colourful < <(e2e_census "$E2E_TMP/sheet.png" "${W}x${H}+${X}+${Y}")
  [ $((bg * 100)) -ge $((30 * total)) ]
}
vivarn_wait_for pane_drawn -t 30 || e2e_fail "no preview drawn in the pane"
cp "$E2E_TMP/sheet.png" "$shots/config-sheet-192dpi.png"

# The widening is measured from the pane's own rectangle: the pixels at its
# edges may be live cells rather than background, so they cannot mark it.
widening=$((tab_left - X))
echo "pane: x $X, width $W, tabs at $tab_left: widening $widening (320 at 96 DPI)"
[ "$widening" = 640 ] || e2e_fail "the preview widening is $widening pixels, not 640"
[ "$W" -ge 600 ] || e2e_fail "the pane is only $W pixels wide"

# The start square sits under the bar's left end: in column 3 of the control
# the bar is the first run of drawn pixels and the square the second.
read -r square_top square_bottom < <(not_white "$E2E_TMP/sheet.png" "$gradient" | awk '$1 == 3 {print $2}' |
  awk 'NR == 1 || $1 != last + 1 {run++} run == 2 {if (top == "") top = $1; bottom = $1} {last = $1}
       END {print top, bottom + 1}')
[ -n "$square_top" ] || e2e_fail "no start square under the bar"
square_mid=$(((square_top + square_bottom) / 2))
square_width=$(not_white "$E2E_TMP/sheet.png" "$gradient" | awk -v y="$square_mid" '$2 == y {print $1}' |
  awk 'NR == 1 && $1 != 0 {exit} NR > 1 && $1 != last + 1 {exit} {n++; last = $1} END {print n + 0}')
square_height=$((square_bottom - square_top))
echo "start square: ${square_width} x ${square_height} (9 x 11 at 96 DPI)"
[ "$square_width" = 18 ] && [ "$square_height" = 22 ] ||
  e2e_fail "the start square is ${square_width} x ${square_height}, not 18 x 22"
echo PASS
