#!/usr/bin/env bash
# Installs everything a fresh Debian machine lacks to build the installer and run its tests,
# then builds the minizip and libjpeg dependencies for MinGW into a cache outside the clone.
# Idempotent: a second run only checks.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/env.sh"

packages=(
  cmake ninja-build dpkg-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  mingw-w64-tools libz-mingw-w64-dev
  googletest
  g++ libminizip-dev zlib1g-dev
  wine wine64
  xvfb openbox xdotool imagemagick x11-utils
  fonts-wqy-microhei icc-profiles-free
  zip unzip locales python3 nsis hyperfine
)

[ "$LUMVEX_TEST_ARCH" = i686 ] && packages+=(wine32:i386)
need_install=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need_install+=("$p")
done
if [ ${#need_install[@]} -gt 0 ]; then
  echo "setup: installing ${need_install[*]}"
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  if ! grep -rqs 'deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    # A deb-src twin of the machine's own Debian source, for minizip's and libjpeg-turbo's sources.
    src=/etc/apt/sources.list.d/debian.sources
    if [ -f "$src" ]; then
      sed -e 's/^Types: deb$/Types: deb-src/' "$src" > /etc/apt/sources.list.d/debian-src.sources
    elif [ -f /etc/apt/sources.list ]; then
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > /etc/apt/sources.list.d/debian-src.list
    fi
  fi
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need_install[@]}" >/dev/null
fi

# The Chinese locale, so that Wine's ANSI code page is 936 (and no tool warns about it).
locale -a 2>/dev/null | grep -qix 'zh_CN.utf8' || localedef -i zh_CN -f UTF-8 zh_CN.UTF-8

"$here/scripts/build-deps.sh" i686
[ "$LUMVEX_TEST_ARCH" = i686 ] || "$here/scripts/build-deps.sh" "$LUMVEX_TEST_ARCH"
