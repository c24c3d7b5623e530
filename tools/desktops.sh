#!/usr/bin/env bash
# The Windows tests on three desktops in turn, each in a Wine session of its own: 1024x768 (a hosted
# Windows runner), 1920x1080, and two monitors with one at negative x. Prints one result per
# desktop; exits non-zero when any desktop fails.
set -uo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows >/dev/null && cmake --build --preset windows || exit 1
results=() failed=0
for screen in 1024x768x24 1920x1080x24 dual; do
  printf '\n=== windows tests on %s\n' "$screen"
  if KESTUL_WINE_SCREEN=$screen ctest --preset windows -j "$(nproc)"; then
    results+=("$screen: passed")
  else
    results+=("$screen: FAILED") failed=1
  fi
done
printf '%s\n' "" "${results[@]}"
exit $failed
