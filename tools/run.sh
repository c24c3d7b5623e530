#!/usr/bin/env bash
# Installs what is missing, builds the Windows program and starts it under Wine: on this X display
# when there is one, else on a private Xvfb, with a screenshot in build/run-screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target KestulAutoClicker
session=$PWD/build/run screen=here
[ -n "${DISPLAY:-}" ] || screen=1920x1080x24
./tools/wine-session.sh start "$session" "$screen"
trap './tools/wine-session.sh stop "$session"' EXIT
# shellcheck source=/dev/null
source "$session/env"
if [ "$screen" = here ]; then
  wine build/windows/bin/KestulAutoClicker.exe "$@"
  exit
fi
wine build/windows/bin/KestulAutoClicker.exe "$@" &
sleep 4
./tools/screenshot.sh build/run-screenshot.png && echo "No display: screenshot in build/run-screenshot.png"
echo "The program runs on $DISPLAY; press Enter to close it."
read -r _ || true
