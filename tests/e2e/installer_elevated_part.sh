#!/usr/bin/env bash
# The setup's elevated copy runs as the administrator whose password was typed,
# not as the user who started the setup: what it writes under HKCU, a
# SystemParametersInfo call or a program it starts would land in the
# administrator's profile. Wine runs "runas" as the same user, so the install
# test cannot tell; this reads the setup script instead. Everything the elevated
# copy runs (.onInit, un.onInit, the Machine functions, and the functions they
# call and macros they insert) must leave the user's profile alone. Then steps
# of each kind are planted into copies, in a root, a called function and an
# inserted macro, and the check must refuse each; the same step planted into
# the user's install section must pass.
# Usage: installer_elevated_part.sh [vivarn.nsi]
set -u
nsi="${1:-$VIVARN_SOURCE_DIR/installer/vivarn.nsi}"
[ -f "$nsi" ] || { echo "FAIL: no $nsi" >&2; exit 1; }

# Prints each offending line; status 1 when there is one or a root is missing.
elevated_offences() {
  awk '
    function strip(line) {
      if (line ~ /^[ \t]*[;#]/) return ""
      sub(/[ \t];.*$/, "", line)
      return line
    }
    /^[ \t]*Function[ \t]/ { block = "F:" $2; next }
    /^[ \t]*FunctionEnd/ { block = ""; next }
    /^[ \t]*!macro[ \t]/ { block = "M:" $2; next }
    /^[ \t]*!macroend/ { block = ""; next }
    block != "" {
      n[block]++
      text[block, n[block]] = strip($0)
      where[block, n[block]] = FNR
    }
    END {
      split(".onInit un.onInit MachineInstall un.MachineUninstall", required, " ")
      for (i in required) if (!(("F:" required[i]) in n)) { print "no function " required[i]; bad = 1 }
      for (b in n) if (b ~ /^F:(\.onInit|un\.onInit|(un\.)?Machine)/) { queue[++tail] = b; seen[b] = 1 }
      for (head = 1; head <= tail; head++) {
        b = queue[head]
        for (i = 1; i <= n[b]; i++) {
          line = text[b, i]
          if (match(line, /(^|[ \t])(Call|!insertmacro)[ \t]+[^ \t]+/)) {
            split(substr(line, RSTART, RLENGTH), word, /[ \t]+/)
            name = word[length(word)]
            next_block = (line ~ /!insertmacro/ ? "M:" : "F:") name
            if ((next_block in n) && !(next_block in seen)) { queue[++tail] = next_block; seen[next_block] = 1 }
          }
          low = tolower(line)
          if (low ~ /hkcu|hkey_current_user|shctx|shell_context|systemparametersinfo|desk\.cpl|control\.exe|desktop_key|settings_key/ ||
              low ~ /(^|[^a-z.])exec(wait|shell|shellwait)?([^a-z]|$)/) {
            print FILENAME ":" where[b, i] ": run elevated in " substr(b, 3) ":" line
            bad = 1
          }
        }
      }
      exit bad
    }' "$1"
}

fail() { echo "FAIL: $*" >&2; exit 1; }

out="$(elevated_offences "$nsi")" || fail "the elevated part touches the user's profile:
$out"

scratch="$(mktemp -d /tmp/vivarn-nsi.XXXXXX)"
trap 'rm -rf "$scratch"' EXIT
# plant AFTER_LINE STEP: a copy of the script with STEP after the first line
# that is AFTER_LINE; prints the copy's path.
plant() {
  local copy="$scratch/planted.nsi"
  awk -v after="$1" -v step="$2" '{ print } !done && $0 == after { print "  " step; done = 1 }' "$nsi" >"$copy"
  grep -qxF "  $2" "$copy" || fail "no line '$1' to plant after"
  echo "$copy"
}
refused() {  # after, step
  local copy
  copy="$(plant "$1" "$2")" || exit 1
  elevated_offences "$copy" >/dev/null && fail "'$2' after '$1' passed the check"
}
refused 'Function MachineDropPendingOperations' 'WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\vivarn.scr"'
refused '!macro MachineExit CODE' "System::Call 'user32::SystemParametersInfoW(i 17, i 1, p 0, i 3)'"
refused 'Function .onInit' "Exec '\"\$SYSDIR\\control.exe\" desk.cpl,,@screensaver'"
refused 'Function un.MachineUninstall' 'DeleteRegKey HKCU "${SETTINGS_KEY}"'
copy="$(plant 'Section "-Install"' 'WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\vivarn.scr"')" || exit 1
out="$(elevated_offences "$copy")" || fail "the user's own section was taken for the elevated part:
$out"
echo "PASS"
