#!/usr/bin/env bash
# The shipped .scr must start on any Windows 7-11 as one file: it may import
# only DLLs every such system has, and it carries no symbols or debug sections
# (those live in the .debug file beside it). It never keeps the display or the
# system awake: SetThreadExecutionState is neither imported nor looked up by
# name, so the system's own monitor power-off still comes while it runs.
#   shipped_file_check.sh SCR
set -u
scr="$1"
# shellcheck source=../../tools/system-dlls.sh
. "$(dirname "$0")/../../tools/system-dlls.sh"
status=0

if ! foreign="$(vivarn_foreign_imports "$scr")"; then
  echo "imports what Windows does not ship: $(tr '\n' ' ' <<<"$foreign")"
  status=1
fi
if grep -qa 'SetThreadExecutionState' "$scr"; then
  echo "names SetThreadExecutionState"
  status=1
fi
sections="$(x86_64-w64-mingw32-objdump -h "$scr" | awk '$2 ~ /^\./ {print $2}')"
if grep -q '^\.debug' <<<"$sections"; then
  echo "carries debug sections: $(grep '^\.debug' <<<"$sections" | tr '\n' ' ')"
  status=1
fi
grep -q '^\.gnu_debuglink$' <<<"$sections" || { echo "has no debug link"; status=1; }
if x86_64-w64-mingw32-objdump -t "$scr" | grep -q '^\[ *[0-9]'; then
  echo "carries a symbol table"
  status=1
fi
exit $status
