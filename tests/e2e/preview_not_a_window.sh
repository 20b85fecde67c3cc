#!/usr/bin/env bash
# "/p" with a number that is no window: the saver ends at once with exit code
# 0 and shows nothing.
here="$(cd "$(dirname "$0")" && pwd)"
. "$VIVARN_SOURCE_DIR/tools/wine-env.sh"
. "$here/e2e-lib.sh"
e2e_begin

e2e_start_saver /p 123456
e2e_wait_exit "$SAVER_PID" 15 || e2e_fail "still running 15 s after start"
[ "$EXIT_CODE" = 0 ] || e2e_fail "exit code $EXIT_CODE"
# Nothing was drawn: the X root is still entirely black.
vivarn_screenshot "$E2E_TMP/screen.png" || e2e_fail "no screenshot"
read -r total black bg colourful < <(e2e_census "$E2E_TMP/screen.png")
[ "$black" = "$total" ] || e2e_fail "something was drawn: $((total - black)) pixels are not black"
# And no process of the prefix is left.
timeout 10 wineserver -w || e2e_fail "wine processes still running"
echo "PASS"
