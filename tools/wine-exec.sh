#!/usr/bin/env bash
# Runs one Windows executable under Wine; used by ctest as the cross-compiling emulator.
# Expects WINEPREFIX (and DISPLAY for GUI tests) from tools/test.sh; refuses to touch ~/.wine.
# Output goes through a file: Wine's helper processes (services, explorer) inherit the
# descriptors and would otherwise keep ctest's pipe open after the test has ended.
set -u
if [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-exec.sh: WINEPREFIX is not set (run the tests through tools/test.sh)" >&2
  exit 125
fi
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}
log=$(mktemp)
wine "$@" >"$log" 2>&1 </dev/null
rc=$?
cat "$log"
rm -f "$log"
exit $rc
