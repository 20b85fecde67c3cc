#!/usr/bin/env bash
# Configuration mode: the .scr without arguments shows the sheet with a live
# preview in its pane.
#
#   config.sh ok      the preview runs (two screenshots a second apart differ
#                     inside the pane and nowhere else); a ticked rule box and
#                     OK write every setting and the palette store; the
#                     process ends only after the preview thread has released
#                     its GL context
#   config.sh cancel  a change followed by Cancel leaves the registry byte for
#                     byte as it was
#   config.sh close   the same with the close box
#   config.sh palette with two palettes stored, another one chosen on the Video
#                     page and OK: the current palette changes and every
#                     palette's stored bytes stay as they were
here="$(cd "$(dirname "$0")" && pwd)"
. "$VIVARN_SOURCE_DIR/tools/wine-env.sh"
. "$here/e2e-lib.sh"
case "${1:-}" in ok | cancel | close | palette) ;; *) e2e_fail "usage: config.sh ok|cancel|close|palette" ;; esac
mode="$1"
e2e_begin
shots="$VIVARN_BUILD_DIR/e2e-shots"
mkdir -p "$shots"

readonly pane_id=320 born0_id=1005 ok_id=1 cancel_id=2
readonly tab_id=12320 palette_list_id=1042 save_as_id=1046  # 12320: the sheet's tab control
readonly vivarn_key='HKCU\Software\Vivarn Screen Saver 2'

click_control() {
  e2e_control_rect "$1" || e2e_fail "control $1 not found"
  xdotool mousemove $((X + W / 2)) $((Y + H / 2)) click 1
}
# Number of pixels that differ between two screenshots after the same
# ImageMagick operations (a crop, a blanked area) on both.
pixels_changed() {
  local a="$1" b="$2"
  shift 2
  convert "$a" "$@" "$E2E_TMP/cmp-a.png" && convert "$b" "$@" "$E2E_TMP/cmp-b.png" || return 1
  compare -metric AE "$E2E_TMP/cmp-a.png" "$E2E_TMP/cmp-b.png" null: 2>&1
}
export_registry() {
  rm -f "$1"
  wine reg export "$vivarn_key" "$(e2e_wine_path "$(dirname "$1")")\\$(basename "$1")" >/dev/null 2>&1 ||
    e2e_fail "reg export failed"
}

# One registry value per line, continuation lines joined, sorted; without the
# current palette's line.
palette_values() {
  iconv -f UTF-16 -t UTF-8 "$1" | tr -d '\r' | sed -e ':a' -e '/\\$/{N;s/\\\n *//;ba}' | grep '^"' | sort
}
if [ "$mode" = palette ]; then
  # "Ocean" (no inner pegs) is current; "Default" is the rainbow.
  readonly ocean_guid=1b4e28ba-2fa1-41d2-883f-0016d3cca427 rainbow_guid=6fa459ea-ee8a-4ca4-894e-db77e160355e
  corpus="$VIVARN_SOURCE_DIR/tests/palette/corpus/palette_value"
  hex() { od -An -tx1 "$1" | tr -d ' \n'; }
  seed_palettes() {
    wine reg add "$VIVARN_SETTINGS_KEY" /v ShowAdvancedCFG /t REG_DWORD /d 1 /f >/dev/null 2>&1 &&
      wine reg add "$VIVARN_SETTINGS_KEY\Palette" /v "$ocean_guid" /t REG_BINARY \
        /d "$(hex "$corpus/five_chars_no_pegs")" /f >/dev/null 2>&1 &&
      wine reg add "$VIVARN_SETTINGS_KEY\Palette" /v "$rainbow_guid" /t REG_BINARY /d "$(hex "$corpus/default")" \
        /f >/dev/null 2>&1 &&
      wine reg add "$VIVARN_SETTINGS_KEY\Palette" /ve /t REG_SZ /d "$ocean_guid" /f >/dev/null 2>&1
  }
  # Adding the same values again is harmless: a "reg add" that failed once
  # on a loaded machine (the prefix's server just started) is tried again.
  vivarn_wait_for seed_palettes -t 30 || e2e_fail "cannot seed the palettes"
  seeded="$E2E_TMP/seeded.reg"
  export_registry "$seeded"
fi

# The kernel thread's GL calls are traced so the end of the run can be checked.
WINEDEBUG=+wgl wine "$VIVARN_SCR" >"$E2E_TMP/saver.out" 2>"$E2E_TMP/saver.err" &
SAVER_PID=$!
E2E_PIDS+=("$SAVER_PID")

vivarn_wait_for e2e_control_rect "$pane_id" -t 60 || e2e_fail "the sheet's preview pane did not appear"
e2e_control_rect "$pane_id"
pane="${W}x${H}+${X}+${Y}"
life_drawn() {
  vivarn_screenshot "$E2E_TMP/a.png" || return 1
  local total black bg colourful
  read -r total black bg colourful < <(e2e_census "$E2E_TMP/a.png" "$pane")
  [ $((bg * 100)) -ge $((30 * total)) ] && [ "$colourful" -gt 0 ]
}
vivarn_wait_for life_drawn -t 30 || e2e_fail "no Life drawn in the preview pane"

if [ "$mode" = ok ]; then
  sleep 1
  vivarn_screenshot "$E2E_TMP/b.png"
  cp "$E2E_TMP/b.png" "$shots/config-sheet.png"
  inside=$(pixels_changed "$E2E_TMP/a.png" "$E2E_TMP/b.png" -crop "$pane" +repage)
  outside=$(pixels_changed "$E2E_TMP/a.png" "$E2E_TMP/b.png" \
    -fill black -draw "rectangle $X,$Y $((X + W - 1)),$((Y + H - 1))")
  echo "pixels changed in one second: $inside inside the pane, $outside outside"
  [ "$inside" -gt 0 ] || e2e_fail "the preview did not move"
  [ "$outside" = 0 ] || e2e_fail "pixels outside the pane changed"
fi

if [ "$mode" = palette ]; then
  # A click on the first tab, then Ctrl+Tab on to the fourth, "Video".
  e2e_control_rect "$tab_id" || e2e_fail "no tab control"
  xdotool mousemove $((X + 12)) $((Y + 8)) click 1
  xdotool key ctrl+Tab ctrl+Tab ctrl+Tab
  vivarn_wait_for e2e_control_rect "$save_as_id" -t 10 || e2e_fail "the Video page did not open"
  # Drop the list down, go one entry further ("Default", after "Ocean") and confirm.
  click_control "$palette_list_id"
  xdotool key Down Return
  click_control "$ok_id"
  e2e_wait_exit "$SAVER_PID" 30 || e2e_fail "the saver did not end after OK"
  [ "$EXIT_CODE" = 0 ] || e2e_fail "exit code $EXIT_CODE"
  after="$E2E_TMP/after.reg"
  export_registry "$after"
  current="$(wine reg query "$VIVARN_SETTINGS_KEY\Palette" /ve 2>/dev/null | tr -d '\r')"
  echo "$current" | grep -qi "REG_SZ *$rainbow_guid\$" || e2e_fail "Default did not become current: $current"
  diff <(palette_values "$seeded" | grep -i -e "$ocean_guid" -e "$rainbow_guid") \
    <(palette_values "$after" | grep -i -e "$ocean_guid" -e "$rainbow_guid") ||
    e2e_fail "the stored palettes changed"
  [ "$(palette_values "$after" | grep -ci -e "$ocean_guid" -e "$rainbow_guid")" = 2 ] ||
    e2e_fail "the two palettes are not both stored"
  echo "PASS"
  exit 0
fi

# A change the sheet applies at once to the running task: rule "born with 0".
before="$E2E_TMP/before.reg"
export_registry "$before"
e2e_control_rect "$born0_id" || e2e_fail "no Born 0 box"
box="${W}x${H}+${X}+${Y}"
vivarn_screenshot "$E2E_TMP/box0.png"
click_control "$born0_id"
box_ticked() {
  vivarn_screenshot "$E2E_TMP/box1.png" &&
    [ "$(pixels_changed "$E2E_TMP/box0.png" "$E2E_TMP/box1.png" -crop "$box" +repage)" != 0 ]
}
vivarn_wait_for box_ticked -t 10 || e2e_fail "the click on Born 0 did not reach the box"

case "$mode" in
  ok) click_control "$ok_id" ;;
  cancel) click_control "$cancel_id" ;;
  close) e2e_probe close "$E2E_SHEET_TITLE" || e2e_fail "no sheet to close" ;;
esac
e2e_wait_exit "$SAVER_PID" 30 || e2e_fail "the saver did not end after the sheet closed"
[ "$EXIT_CODE" = 0 ] || e2e_fail "exit code $EXIT_CODE"

after="$E2E_TMP/after.reg"
export_registry "$after"
if [ "$mode" = ok ]; then
  for name in ShowAdvancedCFG ShowFPS ShowStat VSyncOn RuleBorn RuleSurvive CellSize FieldDrawMode BkColor \
    DieSlowly DieStep LifeSpeed PeriodicResetOn ResetPeriod AutoReset ResetMode Monitors RuleStates \
    PatternName PatternFile OnBattery MouseTolerance ShowClock SmoothGenerations; do
    [ -n "$(vivarn_reg_query "$name")" ] || e2e_fail "registry value $name is missing"
  done
  born="$(vivarn_reg_query RuleBorn)"
  [[ "$born" == "REG_BINARY 01"* ]] || e2e_fail "RuleBorn after OK: $born"
  palettes="$(wine reg query "$VIVARN_SETTINGS_KEY\\Palette" 2>/dev/null | tr -d '\r')"
  echo "$palettes" | grep -qE '^ +\{?[0-9A-Fa-f-]{36}\}? +REG_BINARY' || e2e_fail "no palette written: $palettes"
  echo "$palettes" | grep -qE '^ +\(Default\) +REG_SZ +[0-9A-Fa-f-]{36}' || e2e_fail "no current palette written"
  # The preview ran on its own thread; its GL context was released there before
  # the process went away.
  kernel_tid="$(grep -m1 -o '^[0-9a-f]*:trace:wgl:glxdrv_wglCreateContext' "$E2E_TMP/saver.err" | cut -d: -f1)"
  [ -n "$kernel_tid" ] || e2e_fail "no GL context was made"
  grep -q "^$kernel_tid:trace:wgl:glxdrv_wglDeleteContext" "$E2E_TMP/saver.err" ||
    e2e_fail "the preview thread did not release its GL context before the process ended"
else
  # The rule's state count, the pattern's two texts and the power, input, clock and smooth
  # generations settings are among the values compared.
  for name in RuleStates OnBattery MouseTolerance ShowClock SmoothGenerations; do
    iconv -f UTF-16 -t UTF-8 "$before" | grep -q "^\"$name\"=dword:" || e2e_fail "$name was not stored"
  done
  for name in PatternName PatternFile; do
    iconv -f UTF-16 -t UTF-8 "$before" | grep -q "^\"$name\"=\"" || e2e_fail "$name was not stored as text"
  done
  cmp "$before" "$after" || e2e_fail "the registry changed: $(diff <(iconv -f UTF-16 -t UTF-8 "$before") \
    <(iconv -f UTF-16 -t UTF-8 "$after"))"
fi
echo "PASS"
