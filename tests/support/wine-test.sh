#!/usr/bin/env bash
# Cross-compiling emulator for ctest: runs one Windows test program under wine
# in its own Xvfb, with the build's shared prefix. Exit code is the program's.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"

export VIVARN_BUILD_DIR="${VIVARN_BUILD_DIR:-$(dirname "$(dirname "$(readlink -f "$1")")")}"
while [ ! -f "$VIVARN_BUILD_DIR/CMakeCache.txt" ] && [ "$VIVARN_BUILD_DIR" != / ]; do
  VIVARN_BUILD_DIR="$(dirname "$VIVARN_BUILD_DIR")"
done
WINEPREFIX="$(vivarn_template_prefix)"
export WINEPREFIX
vivarn_start_xvfb 1280x1024 || exit 1
trap vivarn_stop_xvfb EXIT
wine "$@"
status=$?
exit $status
