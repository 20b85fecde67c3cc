#!/usr/bin/env bash
# The setup against files it cannot move. A vivarn.scr.new that can be
# written but not renamed: the setup must end with a non-zero code, keep the
# vivarn.scr installed before and leave the user's choice of saver alone.
# Then, with vivarn.scr held as a running preview holds it, install, uninstall
# and install again without a restart: the restart operations left behind, and
# the restart itself, must leave the last install's file in place.
# file_holder.exe holds a file without delete sharing; on Windows a running
# preview holds its .scr in the same way (its image cannot be deleted or
# replaced while it runs).
here="$(cd "$(dirname "$0")" && pwd)"
. "$VIVARN_SOURCE_DIR/tools/wine-env.sh"
. "$here/e2e-lib.sh"
e2e_begin
setup="$VIVARN_BUILD_DIR/vivarn-setup.exe"
[ -f "$setup" ] || e2e_fail "no $setup"
installed="$WINEPREFIX/drive_c/windows/system32/vivarn.scr"
uninstaller="$WINEPREFIX/drive_c/Program Files/Vivarn Screen Saver 2/uninstall.exe"
desktop='HKCU\Control Panel\Desktop'
session_manager='HKLM\System\CurrentControlSet\Control\Session Manager'

run_silently() {  # program, arguments: waits for it; sets EXIT_CODE
  wine "$@" >"$E2E_TMP/run.out" 2>&1 &
  local pid=$!
  E2E_PIDS+=("$pid")
  e2e_wait_exit "$pid" 60 || e2e_fail "$(basename "$1") was still running after 60 s"
}
hold() {  # Windows path: held until release
  rm -f "$E2E_TMP/release"
  wine "$VIVARN_BUILD_DIR/file_holder.exe" "$1" "$(e2e_wine_path "$E2E_TMP")\\release" >"$E2E_TMP/holder.out" 2>&1 &
  HOLDER_PID=$!
  E2E_PIDS+=("$HOLDER_PID")
  vivarn_wait_for grep -q HELD "$E2E_TMP/holder.out" -t 30 || e2e_fail "could not hold $1: $(cat "$E2E_TMP/holder.out")"
}
release() {
  touch "$E2E_TMP/release"
  e2e_wait_exit "$HOLDER_PID" 10 || e2e_fail "the file holder did not let go"
}
# What vivarn.scr holds once the pending restart operations have run over the
# system folder as it is now: "old" (today's vivarn.scr), "new" (today's
# vivarn.scr.new) or "nothing". Operations are pairs: source, then target
# ("!" first: replace it; empty: delete the source).
after_restart() {
  wine reg query "$session_manager" /v PendingFileRenameOperations 2>/dev/null | tr -d '\r' | awk '
    BEGIN { sys = "c:\\windows\\system32\\"; have[sys "vivarn.scr"] = "old"; have[sys "vivarn.scr.new"] = "new" }
    $1 == "PendingFileRenameOperations" {
      sub(/^.*REG_MULTI_SZ[ \t]+/, "")
      n = split(tolower($0), op, /\\0/)
      for (i = 1; i < n; i += 2) {
        src = op[i]; dst = op[i + 1]
        sub(/^\\\?\?\\/, "", src); sub(/^!?\\\?\?\\/, "", dst)
        if (!(src in have)) continue
        if (dst != "") have[dst] = have[src]
        delete have[src]
      }
    }
    END { print (sys "vivarn.scr") in have ? have[sys "vivarn.scr"] : "nothing" }'
}

# --- a vivarn.scr.new that cannot be moved in
run_silently "$setup" /S
[ "$EXIT_CODE" = 0 ] || e2e_fail "the first install ended with $EXIT_CODE"
cmp -s "$installed" "$VIVARN_SCR" || e2e_fail "the first install left no vivarn.scr"
wine reg add "$desktop" /v SCRNSAVE.EXE /d 'C:\windows\system32\other.scr' /f >/dev/null 2>&1
hold 'C:\windows\system32\vivarn.scr.new'
run_silently "$setup" /S
[ "$EXIT_CODE" != 0 ] || e2e_fail "the setup reported success without moving its file in"
cmp -s "$installed" "$VIVARN_SCR" || e2e_fail "the failed install did not keep the installed vivarn.scr"
[ "$(e2e_reg_value "$desktop" SCRNSAVE.EXE)" = 'C:\windows\system32\other.scr' ] ||
  e2e_fail "the failed install chose the saver: '$(e2e_reg_value "$desktop" SCRNSAVE.EXE)'"
release

# --- install, uninstall, install again while vivarn.scr is held, then restart
hold 'C:\windows\system32\vivarn.scr'
run_silently "$setup" /S
[ "$EXIT_CODE" = 0 ] || e2e_fail "the install over the held file ended with $EXIT_CODE"
run_silently "$uninstaller" /S
uninstalled() { [ ! -e "$uninstaller" ] && [ -z "$(e2e_reg_value "$desktop" SCRNSAVE.EXE)" ]; }
vivarn_wait_for uninstalled -t 30 || e2e_fail "the uninstaller did not finish"
run_silently "$setup" /S
[ "$EXIT_CODE" = 0 ] || e2e_fail "the second install over the held file ended with $EXIT_CODE"
[ -f "$installed.new" ] || e2e_fail "no new file waiting beside the held one"
[ "$(after_restart)" = new ] ||
  e2e_fail "the pending operations would leave $(after_restart) in vivarn.scr: $(e2e_reg_value "$session_manager" PendingFileRenameOperations)"
# Windows carries the operations out when it restarts; wine does when the
# prefix's session starts again.
release
wineserver -k
wine cmd /c exit >/dev/null 2>&1
cmp -s "$installed" "$VIVARN_SCR" || e2e_fail "after the restart vivarn.scr is not the last install's file"
[ ! -e "$installed.new" ] || e2e_fail "vivarn.scr.new is still there after the restart"
echo "PASS"
