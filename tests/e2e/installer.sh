#!/usr/bin/env bash
# The setup program, silent: it puts the saver into the system folder, records
# it in Programs and Features and makes it the current screen saver; the
# installed file then runs full screen and shows Life; installing over the
# running saver schedules the replacement for the restart; installing again
# upgrades in place and leaves one entry; the silent uninstall removes the file and the entry, resets the
# chosen saver and keeps the user's settings. Judged by these effects, not by
# exit codes.
here="$(cd "$(dirname "$0")" && pwd)"
. "$VIVARN_SOURCE_DIR/tools/wine-env.sh"
. "$here/e2e-lib.sh"
e2e_begin
setup="$VIVARN_BUILD_DIR/vivarn-setup.exe"
[ -f "$setup" ] || e2e_fail "no $setup"
installed="$WINEPREFIX/drive_c/windows/system32/vivarn.scr"
uninstaller="$WINEPREFIX/drive_c/Program Files/Vivarn Screen Saver 2/uninstall.exe"
programs='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
entry="$programs\\Vivarn Screen Saver 2"
desktop='HKCU\Control Panel\Desktop'

# Keys under the Programs list whose display name is ours.
our_entries() {
  wine reg query "$programs" /s 2>/dev/null | tr -d '\r' |
    grep -cE '^ +DisplayName +REG_SZ +Vivarn Screen Saver 2$'
}
install_silently() {
  wine "$setup" /S >"$E2E_TMP/setup.out" 2>&1 &
  local pid=$!
  E2E_PIDS+=("$pid")
  e2e_wait_exit "$pid" 60 || e2e_fail "the setup program was still running after 60 s"
}

# --- install
install_silently
vivarn_wait_for test -f "$installed" -t 10 || e2e_fail "no vivarn.scr in the system folder"
cmp -s "$installed" "$VIVARN_SCR" || e2e_fail "the installed file is not the built one"
[ -f "$uninstaller" ] || e2e_fail "no uninstaller"
[ "$(e2e_reg_value "$entry" DisplayName)" = "Vivarn Screen Saver 2" ] || e2e_fail "no Programs entry"
for name in DisplayVersion Publisher DisplayIcon UninstallString EstimatedSize; do
  [ -n "$(e2e_reg_value "$entry" "$name")" ] || e2e_fail "the Programs entry has no $name"
done
[ "$(e2e_reg_value "$desktop" SCRNSAVE.EXE)" = 'C:\windows\system32\vivarn.scr' ] ||
  e2e_fail "SCRNSAVE.EXE is '$(e2e_reg_value "$desktop" SCRNSAVE.EXE)'"
[ "$(e2e_reg_value "$desktop" ScreenSaveActive)" = 1 ] || e2e_fail "ScreenSaveActive is not 1"

# --- the installed saver runs as the system would start it
wine 'C:\windows\system32\vivarn.scr' /S >"$E2E_TMP/saver.out" 2>&1 &
SAVER_PID=$!
E2E_PIDS+=("$SAVER_PID")
vivarn_wait_for e2e_screen_covered -t 60 || e2e_fail "the installed saver did not cover the screen with Life"

# --- installing over the running saver: the new file waits for the restart
install_silently
[ -f "$installed.new" ] || e2e_fail "no new file waiting beside the one in use"
wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations 2>/dev/null |
  tr -d '\r' | grep -qF 'vivarn.scr.new' || e2e_fail "the replacement is not scheduled for the restart"
e2e_focus_saver || e2e_fail "no saver window to focus"
xdotool key space
e2e_wait_exit "$SAVER_PID" 10 || e2e_fail "the installed saver did not end on a key press"
[ -n "$(vivarn_reg_query LifeSpeed)" ] || e2e_fail "the saver wrote no settings"

# --- with the saver ended, installing again upgrades in place
install_silently
[ "$(our_entries)" = 1 ] || e2e_fail "$(our_entries) Programs entries after installing three times"
[ ! -e "$installed.new" ] || e2e_fail "the new file is still waiting after an install with the saver ended"
cmp -s "$installed" "$VIVARN_SCR" || e2e_fail "the upgrade left another file"

# --- uninstall; the uninstaller hands over to a copy of itself and returns at once
wine 'C:\Program Files\Vivarn Screen Saver 2\uninstall.exe' /S >"$E2E_TMP/uninstall.out" 2>&1
gone() { [ ! -e "$installed" ] && [ ! -e "$uninstaller" ] && [ "$(our_entries)" = 0 ]; }
vivarn_wait_for gone -t 30 || e2e_fail "the uninstaller left the file, itself or the Programs entry"
[ -z "$(e2e_reg_value "$desktop" SCRNSAVE.EXE)" ] || e2e_fail "SCRNSAVE.EXE still names a saver"
[ -n "$(vivarn_reg_query LifeSpeed)" ] || e2e_fail "the silent uninstall removed the user's settings"
echo "PASS"
