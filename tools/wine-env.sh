# Helpers that run Windows programs under wine in a private X server: used by
# ./run.sh, the screenshots, the wine tests' runner and the end-to-end tests.
# Source this file; every process started here is ended by its process id.
#
#   vivarn_start_xvfb [WxH [WxH]]  start Xvfb on a free display; sets DISPLAY, XVFB_PID;
#                                with a second size, two screens joined by Xinerama
#   vivarn_stop_xvfb             end that Xvfb
#   vivarn_template_prefix       path of the booted prefix shared by the build (made once)
#   vivarn_private_prefix        copy the template into a new temporary WINEPREFIX
#                                (each test its own wineserver and desktop)
#   vivarn_end_wine              end the prefix's wineserver and remove a private prefix
#   vivarn_screenshot FILE       capture the whole Xvfb screen as PNG
#   vivarn_reg_query NAME        print one value of the saver's settings key
#   vivarn_wait_for CMD... -t S  run CMD until it succeeds or S seconds pass
#   vivarn_refuse_foreign_imports FILE  fail if FILE imports a DLL Windows lacks

export WINEDEBUG=-all
# Wine takes the user's interface language from the locale, and the saver
# shows its configuration in that language: everything here runs in English,
# whatever the developer's own locale, unless VIVARN_WINE_LOCALE names another
# (ru_RU.UTF-8 for the Russian configuration). LC_ALL as well as LANG: a host
# without that locale's files makes wine ignore LANG but still read LC_ALL.
# C.UTF-8 exists on every host and wine reads it as English (United States).
# The shell's own complaint about a locale the host lacks is not ours to show.
{ export LC_ALL="${VIVARN_WINE_LOCALE:-C.UTF-8}" LANG="${VIVARN_WINE_LOCALE:-C.UTF-8}"; } 2>/dev/null
unset LANGUAGE
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# shellcheck source=system-dlls.sh
. "$(dirname "${BASH_SOURCE[0]}")/system-dlls.sh"

# Wine carries builtin DLLs that Windows lacks (zlib1.dll among them), so a
# program importing one runs here and fails on Windows. Disabling them is not
# an option: Debian's wine needs its own zlib1 for user32. Instead every
# program is refused before it starts, as Windows' loader would refuse it.
#   vivarn_refuse_foreign_imports FILE
vivarn_refuse_foreign_imports() {
  local foreign
  if ! foreign="$(vivarn_foreign_imports "$1")"; then
    echo "wine-env: $(basename "$1") imports what Windows does not ship: $(tr '\n' ' ' <<<"$foreign")" >&2
    return 1
  fi
}
VIVARN_SETTINGS_KEY='HKCU\SOFTWARE\Vivarn Screen Saver 2\Settings'

vivarn_start_xvfb() {
  local size="${1:-1280x1024}" screens
  screens=(-screen 0 "${size}x24")
  [ -n "${2:-}" ] && screens+=(-screen 1 "${2}x24" +xinerama)
  # Xvfb picks the display itself (-displayfd): two tests starting at once can
  # never both believe they own the same display number.
  local fifo
  fifo="$(mktemp -u /tmp/vivarn-xvfb.XXXXXX)"
  mkfifo "$fifo"
  Xvfb -displayfd 3 "${screens[@]}" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local n=""
  read -r -t 20 n <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$n" ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
    echo "wine-env: Xvfb did not start" >&2
    vivarn_stop_xvfb
    return 1
  fi
  export DISPLAY=":$n"
  vivarn_wait_for xdpyinfo -display "$DISPLAY" -t 20 >/dev/null 2>&1
}

vivarn_stop_xvfb() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
  fi
}

# One booted prefix per build tree; made under a lock so parallel tests wait.
vivarn_template_prefix() {
  local dir="${VIVARN_BUILD_DIR:-$PWD}/wineprefix"
  (
    flock 9
    if [ ! -f "$dir/.booted" ]; then
      rm -rf "$dir"
      WINEPREFIX="$dir" wineboot -i >/dev/null 2>&1
      WINEPREFIX="$dir" wineserver -w
      touch "$dir/.booted"
    fi
  ) 9>"${dir}.lock"
  echo "$dir"
}

vivarn_private_prefix() {
  local template
  template="$(vivarn_template_prefix)"
  VIVARN_PRIVATE_PREFIX="$(mktemp -d /tmp/vivarn-prefix.XXXXXX)"
  # Hard links make the copy instant; the registry files, the only files wine
  # rewrites, get real copies so the template never changes.
  cp -al "$template/." "$VIVARN_PRIVATE_PREFIX/"
  local reg
  for reg in "$VIVARN_PRIVATE_PREFIX"/*.reg; do
    [ -f "$reg" ] || continue
    cp --remove-destination "$template/$(basename "$reg")" "$reg"
  done
  export WINEPREFIX="$VIVARN_PRIVATE_PREFIX"
}

vivarn_end_wine() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  if [ -n "${VIVARN_PRIVATE_PREFIX:-}" ]; then
    rm -rf "$VIVARN_PRIVATE_PREFIX"
    VIVARN_PRIVATE_PREFIX=""
  fi
}

vivarn_screenshot() {
  import -display "$DISPLAY" -window root "$1"
}

vivarn_reg_query() {
  wine reg query "$VIVARN_SETTINGS_KEY" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {print $2, $3}'
}

vivarn_wait_for() {
  local seconds=10 args=()
  while [ $# -gt 0 ]; do
    if [ "$1" = "-t" ]; then seconds="$2"; shift 2; else args+=("$1"); shift; fi
  done
  local deadline=$(( $(date +%s%N) + seconds * 1000000000 ))
  while [ "$(date +%s%N)" -lt "$deadline" ]; do
    "${args[@]}" && return 0
    sleep 0.1
  done
  return 1
}
