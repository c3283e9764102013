#!/usr/bin/env bash
# Runs a command with a virtual display (Xvfb and a window manager) and a running Wine
# prefix in the Chinese code page, then stops them all. Uses $DISPLAY as it is when
# LUMVEX_USE_DISPLAY=1 (a desktop).
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/env.sh"
export LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8

pids=()
cleanup() {
  wineserver -k >/dev/null 2>&1
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
}
trap cleanup EXIT

if [ "${LUMVEX_USE_DISPLAY:-0}" != 1 ]; then
  for n in $(seq 90 120); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break; done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  openbox >/dev/null 2>&1 &
  pids+=($!)
fi

# Wine's first program starts its services, which inherit its output streams: start the
# prefix with all three on /dev/null, or a test runner waiting on a pipe never ends.
wineserver -p </dev/null >/dev/null 2>&1
"$LUMVEX_WINE" wineboot </dev/null >/dev/null 2>&1
# A crashing program fails at once instead of waiting in Wine's crash dialog.
"$LUMVEX_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
# Dialogs and message boxes draw with the faces of a Chinese Windows: map them to the CJK
# font on this machine, or their texts show as empty boxes.
for face in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "SimSun" "MS Sans Serif"; do
  "$LUMVEX_WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v "$face" /t REG_SZ /d "WenQuanYi Micro Hei" /f </dev/null >/dev/null 2>&1
done
"$@"
