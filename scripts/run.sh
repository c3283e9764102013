#!/usr/bin/env bash
# Sets everything up, builds the installer and starts it under Wine. On a desktop
# (LUMVEX_USE_DISPLAY=1 with $DISPLAY set) its window opens there; otherwise it runs on a
# virtual display and a screenshot of the window is saved as build-<arch>/installer.png.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh"
. "$here/scripts/env.sh"
"$here/scripts/build.sh" i686
[ "$LUMVEX_TEST_ARCH" = i686 ] || "$here/scripts/build.sh" "$LUMVEX_TEST_ARCH"
exe="$here/build-$LUMVEX_TEST_ARCH/installer.exe"
echo "installer: $here/build-i686/installer.exe"
[ "$LUMVEX_TEST_ARCH" = i686 ] || echo "this machine runs no 32-bit Wine: starting the 64-bit build of the same sources"
if [ "${LUMVEX_USE_DISPLAY:-0}" = 1 ]; then
  exec "$here/scripts/with-display.sh" "$LUMVEX_WINE" "$exe"
fi
shot="$here/build-$LUMVEX_TEST_ARCH/installer.png"
"$here/scripts/with-display.sh" bash -c '
  "$LUMVEX_WINE" "$1" & app=$!
  sleep 3
  import -window root "$2" && echo "screenshot: $2"
  kill $app 2>/dev/null; wait 2>/dev/null; true' run "$exe" "$shot"
