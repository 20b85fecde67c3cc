#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine, and
# cross-builds the Windows libraries that Debian ships only as source.
# Idempotent: a second run checks and returns without redoing finished work.
#
#   VIVARN_DEPS_DIR   where the cross-built libraries are cached
#                     (default: ~/.cache/vivarn/deps, kept across clones)
set -euo pipefail

DEPS_DIR="${VIVARN_DEPS_DIR:-${HOME:-/root}/.cache/vivarn/deps}"
PREFIX="$DEPS_DIR/mingw-prefix"
LOGS="$DEPS_DIR/logs"
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/.." && pwd)"
# shellcheck source=step-log.sh
. "$here/step-log.sh"

packages=(
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  libz-mingw-w64-dev
  wine wine64 xvfb xdotool imagemagick libgl1-mesa-dri x11-utils
  cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev
  libpng-dev libjpeg-dev zlib1g-dev libfreetype-dev fonts-dejavu-core fonts-dejavu-extra
  clang libclang-rt-14-dev dpkg-dev nsis
)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  vivarn_step "$LOGS/apt-update.log" as_root apt-get update || exit 1
  vivarn_step "$LOGS/apt-install.log" as_root env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}" || exit 1
fi

# Source entries mirror the machine's own binary entries, so no mirror is named here.
ensure_deb_src() {
  if grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null; then
    return 0
  fi
  local added=0
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    sed -e 's/^Types:.*/Types: deb-src/' "$f" | as_root tee "/etc/apt/sources.list.d/vivarn-src-$(basename "$f")" >/dev/null
    added=1
  done
  if [ -f /etc/apt/sources.list ] && grep -qE '^deb ' /etc/apt/sources.list; then
    grep -E '^deb ' /etc/apt/sources.list | sed -e 's/^deb /deb-src /' |
      as_root tee /etc/apt/sources.list.d/vivarn-src.list >/dev/null
    added=1
  fi
  [ "$added" = 1 ] || { echo "setup: no apt source entries to derive deb-src from" >&2; exit 1; }
  vivarn_step "$LOGS/apt-update-src.log" as_root apt-get update || exit 1
}

cross_build() {  # name, source package, cmake options...
  local name="$1" srcpkg="$2"; shift 2
  local stamp="$PREFIX/.built-$name"
  [ -f "$stamp" ] && return 0
  ensure_deb_src
  local work="$DEPS_DIR/src"
  mkdir -p "$work" "$LOGS"
  # A newer revision may be listed that the mirror no longer serves; the upstream
  # archive is the same for every revision, so any one that downloads will do.
  local got=0 v
  for v in "" $(apt-cache showsrc "$srcpkg" 2>/dev/null | sed -n 's/^Version: //p'); do
    if ( cd "$work" && apt-get source --download-only "$srcpkg${v:+=$v}" >>"$LOGS/source-$srcpkg.log" 2>&1 ); then
      got=1; break
    fi
  done
  [ "$got" = 1 ] || { echo "setup: could not download the source of $srcpkg; log: $LOGS/source-$srcpkg.log" >&2; exit 1; }
  local tarball
  tarball=$(ls "$work"/"${srcpkg%%[0-9.]*}"*orig.tar.* 2>/dev/null | head -n 1)
  [ -n "$tarball" ] || { echo "setup: no source archive for $srcpkg" >&2; exit 1; }
  rm -rf "$work/$name" && mkdir -p "$work/$name"
  tar -xf "$tarball" -C "$work/$name" --strip-components=1
  local log="$LOGS/cross-build-$name"
  vivarn_step "$log-configure.log" cmake -S "$work/$name" -B "$work/$name/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
    -DCMAKE_PREFIX_PATH="$PREFIX" -Wno-dev "$@" || exit 1
  vivarn_step "$log-build.log" cmake --build "$work/$name/build" || exit 1
  vivarn_step "$log-install.log" cmake --install "$work/$name/build" || exit 1
  touch "$stamp"
  echo "setup: cross-built $name into $PREFIX"
}

mkdir -p "$PREFIX"
cross_build libpng libpng1.6 -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include
cross_build libjpeg libjpeg-turbo -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF

echo "$PREFIX" > "$DEPS_DIR/prefix-path"
