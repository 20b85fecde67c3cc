#!/usr/bin/env bash
# The pattern dialog end to end: an RLE file in the prefix, opened from the
# sheet's "Pattern..." through the system's file dialog, runs in the preview
# (the pane's cells gather in its middle); OK and OK store ResetMode 4 and
# the file; "/S" then shows the pattern alone, centred on the screen. Last,
# "/S" with ResetMode 3 covers the screen with famous patterns.
# Screenshots: e2e-shots/pattern-dialog.png, pattern-fullscreen.png and
# famous-patterns.png in the build directory.
here="$(cd "$(dirname "$0")" && pwd)"
. "$VIVARN_SOURCE_DIR/tools/wine-env.sh"
. "$here/e2e-lib.sh"
e2e_begin
shots="$VIVARN_BUILD_DIR/e2e-shots"
mkdir -p "$shots"

readonly pane_id=320 choose_id=1107 open_id=1104 ok_id=1 view_id=1101
readonly dialog_title="Pattern" open_title="Open a pattern"

# A 4 x 4 grid of blocks, two cells apart: a still life of 64 cells that
# looks the same in every generation.
mkdir -p "$WINEPREFIX/drive_c/vivarn-patterns"
{
  echo "#N Block grid"
  echo "#C Sixteen blocks, a still life."
  echo "x = 14, y = 14, rule = B3/S23"
  row='2o2b2o2b2o2b2o'
  echo "$row\$${row}3\$$row\$${row}3\$$row\$${row}3\$$row\$$row!"
} >"$WINEPREFIX/drive_c/vivarn-patterns/blocks.rle"
readonly pattern_path='C:\vivarn-patterns\blocks.rle'

click_control() {
  e2e_control_rect "$1" || e2e_fail "control $1 not found"
  xdotool mousemove $((X + W / 2)) $((Y + H / 2)) click 1
}
probe() { e2e_probe "$@" >/dev/null; }
dialog_rect() {  # id: X Y W H of a control of the pattern dialog
  local rect
  rect="$(e2e_probe rect "$dialog_title" "$1")"
  [ -n "$rect" ] || return 1
  read -r _ left top right bottom <<<"$rect"
  X=$left Y=$top W=$((right - left)) H=$((bottom - top))
}
# Colourful pixels of the screenshot inside the box WxH+X+Y, and outside it.
colourful_in() { e2e_census "$1" "$2" | awk '{print $4}'; }
colourful_outside() {  # file, box as W H X Y
  convert "$1" -fill black -draw "rectangle $5,$4 $(($5 + $2 - 1)),$(($4 + $3 - 1))" "$E2E_TMP/outside.png" &&
    e2e_census "$E2E_TMP/outside.png" "${6:-}" | awk '{print $4}'
}

e2e_start_saver
vivarn_wait_for e2e_control_rect "$pane_id" -t 60 || e2e_fail "the sheet's preview pane did not appear"
e2e_control_rect "$pane_id"
px=$X py=$Y pw=$W ph=$H
pane="${pw}x${ph}+${px}+${py}"
# The middle of the pane (three fifths of it each way), where a centred
# pattern shows.
mw=$((pw * 3 / 5)) mh=$((ph * 3 / 5)) mx=$((px + pw / 5)) my=$((py + ph / 5))
spread_fill() {
  vivarn_screenshot "$E2E_TMP/a.png" &&
    [ "$(colourful_outside "$E2E_TMP/a.png" $mw $mh $mx $my "$pane")" -gt 0 ]
}
vivarn_wait_for spread_fill -t 30 || e2e_fail "no random fill drawn over the preview pane"

click_control "$choose_id"
vivarn_wait_for dialog_rect "$open_id" -t 20 || e2e_fail "the pattern dialog did not open"
probe press "$dialog_title" "$open_id" || e2e_fail "no Open file button"
open_shown() { probe rect "$open_title" 0; }
vivarn_wait_for open_shown -t 20 || e2e_fail "the file dialog did not open"
# The name box: the edit of combo cmb13 in the system's template, edt1 in
# older ones. The dialog may still be filling it when it shows, so the name
# is given again until the dialog takes it.
open_gone() { ! open_shown; }
give_file() {
  { probe settext "$open_title" 1148 "$pattern_path" || probe settext "$open_title" 1152 "$pattern_path"; } &&
    probe press "$open_title" 1 && vivarn_wait_for open_gone -t 2
}
vivarn_wait_for give_file -t 30 || e2e_fail "the file dialog did not take the file"

# The pattern now fills the preview alone: cells in the middle, none around.
centred_in_pane() {
  vivarn_screenshot "$E2E_TMP/b.png" || return 1
  [ "$(colourful_outside "$E2E_TMP/b.png" $mw $mh $mx $my "$pane")" = 0 ] &&
    [ "$(colourful_in "$E2E_TMP/b.png" "${mw}x${mh}+${mx}+${my}")" -gt 0 ]
}
if ! vivarn_wait_for centred_in_pane -t 20; then
  cp "$E2E_TMP/b.png" "$shots/pattern-preview-failed.png"
  e2e_fail "the preview does not show the pattern alone in its middle (colourful outside / inside:" \
    "$(colourful_outside "$E2E_TMP/b.png" $mw $mh $mx $my "$pane") / $(colourful_in "$E2E_TMP/b.png" "${mw}x${mh}+${mx}+${my}"))"
fi
# The picture: the sheet with its preview and the dialog beside it.
if dialog_rect 0; then
  dx=$X dy=$Y dr=$((X + W)) db=$((Y + H))
  if e2e_control_rect 0; then
    left=$((X < dx ? X : dx)) top=$((Y < dy ? Y : dy))
    right=$((X + W > dr ? X + W : dr)) bottom=$((Y + H > db ? Y + H : db))
    convert "$E2E_TMP/b.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$shots/pattern-dialog.png"
  fi
fi
dialog_rect "$view_id" || e2e_fail "no pattern view"
[ "$(colourful_in "$E2E_TMP/b.png" "${W}x${H}+${X}+${Y}")" -gt 0 ] || e2e_fail "the dialog does not draw the pattern"

probe press "$dialog_title" "$ok_id" || e2e_fail "no OK in the pattern dialog"
dialog_gone() { ! dialog_rect "$open_id"; }
vivarn_wait_for dialog_gone -t 20 || e2e_fail "the pattern dialog did not close"
click_control "$ok_id"
e2e_wait_exit "$SAVER_PID" 30 || e2e_fail "the saver did not end after OK"
[ "$EXIT_CODE" = 0 ] || e2e_fail "exit code $EXIT_CODE"

mode="$(vivarn_reg_query ResetMode)"
[ "$mode" = "REG_DWORD 0x4" ] || e2e_fail "ResetMode after OK: $mode"
file="$(vivarn_reg_query PatternFile)"
[ "${file,,}" = "reg_sz ${pattern_path,,}" ] || e2e_fail "PatternFile after OK: $file"

# Full screen: the block grid alone, centred (140 pixels a side at the
# default cell size of 10).
centred_on_screen() {
  vivarn_screenshot "$E2E_TMP/s.png" || return 1
  [ "$(colourful_outside "$E2E_TMP/s.png" 400 400 440 312)" = 0 ] &&
    [ "$(colourful_in "$E2E_TMP/s.png" 400x400+440+312)" -gt 2000 ]
}
e2e_start_saver /S
vivarn_wait_for centred_on_screen -t 60 || e2e_fail "the full screen does not show the pattern alone in its middle" \
  "(colourful outside / inside: $(colourful_outside "$E2E_TMP/s.png" 400 400 440 312) /" \
  "$(colourful_in "$E2E_TMP/s.png" 400x400+440+312))"
cp "$E2E_TMP/s.png" "$shots/pattern-fullscreen.png"
e2e_focus_saver || e2e_fail "no saver window to focus"
xdotool key space
e2e_wait_exit "$SAVER_PID" 10 || e2e_fail "the saver did not end after a key press"

# Famous patterns over the whole screen.
wine reg add "$VIVARN_SETTINGS_KEY" /v ResetMode /t REG_DWORD /d 3 /f >/dev/null 2>&1 || e2e_fail "cannot set mode 3"
spread_on_screen() {
  vivarn_screenshot "$E2E_TMP/f.png" || return 1
  [ "$(colourful_outside "$E2E_TMP/f.png" 400 400 440 312)" -gt 2000 ]
}
e2e_start_saver /S
vivarn_wait_for spread_on_screen -t 60 || e2e_fail "no famous patterns spread over the screen"
cp "$E2E_TMP/f.png" "$shots/famous-patterns.png"
e2e_focus_saver || e2e_fail "no saver window to focus"
xdotool key space
e2e_wait_exit "$SAVER_PID" 10 || e2e_fail "the saver did not end after a key press"
echo "PASS"
