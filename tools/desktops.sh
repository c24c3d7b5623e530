#!/usr/bin/env bash
# Builds the Windows preset and runs the Windows tests on three desktops in turn, each in a Wine
# session of its own: 1024x768 (a hosted Windows runner), 1920x1080, and two monitors with one at
# negative x (tools/wine-session.sh "dual"). Prints one result per desktop; exits non-zero when
# any desktop fails. KESTUL_BUILD_ROOT moves the build folder (default: build/).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTUL_BUILD_ROOT:-$root/build}/windows
cmake --preset windows -B "$build" >/dev/null && cmake --build "$build" || exit 1

results=() failed=0
for desktop in 1024x768x24 1920x1080x24 dual; do
  printf '\n=== windows tests on %s\n' "$desktop"
  log=$build/desktop-$desktop.log
  (
    # shellcheck source=tools/wine-session.sh
    source "$root/tools/wine-session.sh"
    kestul_session_start "$build/wineprefix" "$desktop"
    export KESTUL_ARTIFACTS=$build/artifacts/$desktop
    mkdir -p "$KESTUL_ARTIFACTS"
    ctest --test-dir "$build" --output-on-failure -j 2 -LE bench
    rc=$?
    # The wineserver ends before its display does (a later session would inherit its monitors).
    kestul_session_stop
    exit $rc
  ) 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
  [ "$rc" -eq 0 ] || failed=1
  results+=("$desktop: $([ "$rc" -eq 0 ] && echo passed || echo FAILED) ($(grep -E 'tests passed' "$log" | tail -1))")
done

printf '\n=== results\n'
printf '%s\n' "${results[@]}"
exit $failed
