#!/usr/bin/env bash
# Installs what is missing, builds the Windows program and starts it under Wine.
# With no X display (a headless machine) it runs on a private Xvfb and saves a screenshot.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/tools/deps.sh"
cmake --preset windows >/dev/null
cmake --build build/windows --target KestulAutoClicker
exe="$root/build/windows/bin/KestulAutoClicker.exe"
# shellcheck source=tools/wine-session.sh
source "$root/tools/wine-session.sh"
if [ -n "${DISPLAY:-}" ]; then
  export WINEPREFIX="$root/build/run-prefix" WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  mkdir -p "$WINEPREFIX"
  [ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1 || true; wineserver -w; }
  wine reg import "$root/tools/wine-fonts.reg" >/dev/null 2>&1 || true
  wine "$exe" "$@"
  wineserver -w
else
  kestul_session_start "$root/build/run-prefix"
  wine "$exe" "$@" &
  sleep 4
  "$root/tools/screenshot.sh" "$root/build/run-screenshot.png" && echo "No display: screenshot in build/run-screenshot.png"
  echo "The program runs on $DISPLAY; press Enter to close it."
  read -r _ || true
  kestul_session_stop
fi
