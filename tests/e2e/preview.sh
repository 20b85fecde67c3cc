#!/usr/bin/env bash
# "/p <handle>": a host window of 320 x 240 starts the saver as the Screen
# Saver Settings dialog does; the saver's child fills the host's client area
# and Life is drawn in it; closing the host ends the saver with exit code 0
# and leaves no process behind.
# With the argument "window-only" the picture is not examined (the window and
# run-mode checks alone).
here="$(cd "$(dirname "$0")" && pwd)"
. "$VIVARN_SOURCE_DIR/tools/wine-env.sh"
. "$here/e2e-lib.sh"
e2e_begin
shots="$VIVARN_BUILD_DIR/e2e-shots"
mkdir -p "$shots"
host_exe="$VIVARN_BUILD_DIR/preview_host.exe"
[ -f "$host_exe" ] || e2e_fail "no $host_exe"
stop="$E2E_TMP/stop"
out="$E2E_TMP/host.out"

: >"$out"
wine "$host_exe" "$(e2e_wine_path "$VIVARN_SCR")" "$(e2e_wine_path "$E2E_TMP")\\stop" >"$out" 2>/dev/null &
host_pid=$!
E2E_PIDS+=("$host_pid")

vivarn_wait_for grep -qE '^(CHILD|NOCHILD)' "$out" -t 60 || e2e_fail "the host saw no child window: $(cat "$out")"
grep -q '^CHILD FILLS' "$out" || e2e_fail "the child does not fill the client area: $(tr -d '\r' <"$out")"
read -r _ x y w h < <(tr -d '\r' <"$out" | grep '^HOST ')
[ "$w" = 320 ] && [ "$h" = 240 ] || e2e_fail "host client area is ${w}x${h}"
crop="${w}x${h}+${x}+${y}"

life_drawn() {
  vivarn_screenshot "$E2E_TMP/screen.png" || return 1
  local total black bg colourful
  read -r total black bg colourful < <(e2e_census "$E2E_TMP/screen.png" "$crop")
  [ "$total" = $((w * h)) ] && [ $((bg * 100)) -ge $((30 * total)) ] && [ $((colourful * 200)) -ge "$total" ]
}
if [ "${1:-}" != window-only ]; then
  vivarn_wait_for life_drawn -t 30 || e2e_fail "no Life drawn in the preview"
  convert "$E2E_TMP/screen.png" -crop "$crop" +repage "$shots/preview.png"
  read -r total black bg colourful < <(e2e_census "$E2E_TMP/screen.png" "$crop")
  echo "preview: $total pixels, $black black, $bg background, $colourful colourful"

  # The dialog moves: the picture goes with it and leaves nothing behind.
  old_crop="$crop"
  : >"$stop.move"
  vivarn_wait_for grep -q '^MOVED' "$out" -t 30 || e2e_fail "the host did not move"
  read -r _ x y < <(tr -d '\r' <"$out" | grep '^MOVED ')
  crop="${w}x${h}+${x}+${y}"
  vivarn_wait_for life_drawn -t 30 || e2e_fail "no Life drawn in the preview after the host moved"
  read -r total black bg colourful < <(e2e_census "$E2E_TMP/screen.png" "$old_crop")
  [ "$colourful" = 0 ] || e2e_fail "Life still drawn where the host was ($colourful pixels)"
fi

: >"$stop"
e2e_wait_exit "$host_pid" 30 || e2e_fail "the host did not end"
tr -d '\r' <"$out"
grep -q '^SAVER_EXIT 0' "$out" || e2e_fail "the saver did not end with code 0 after its parent closed"
[ "$EXIT_CODE" = 0 ] || e2e_fail "host exit code $EXIT_CODE"
timeout 15 wineserver -w || e2e_fail "wine processes still running after the saver ended"
echo "PASS"
