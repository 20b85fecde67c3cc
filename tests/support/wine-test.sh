#!/usr/bin/env bash
# Cross-compiling emulator for ctest: runs one Windows test program under wine
# in its own Xvfb, with the build's shared prefix. Exit code is the program's.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=../../tools/wine-env.sh
. "$here/../../tools/wine-env.sh"

export VIVARN_BUILD_DIR="${VIVARN_BUILD_DIR:-$(dirname "$(dirname "$(readlink -f "$1")")")}"
while [ ! -f "$VIVARN_BUILD_DIR/CMakeCache.txt" ] && [ "$VIVARN_BUILD_DIR" != / ]; do
  VIVARN_BUILD_DIR="$(dirname "$VIVARN_BUILD_DIR")"
done
# A private prefix: wine's desktop process belongs to the prefix and to the
# X display it first saw, so tests running side by side must not share one.
vivarn_refuse_foreign_imports "$1" || exit 1
vivarn_private_prefix
trap 'vivarn_end_wine; vivarn_stop_xvfb' EXIT
vivarn_start_xvfb 1280x1024 || exit 1
wine "$@"
status=$?
exit $status
