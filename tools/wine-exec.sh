#!/usr/bin/env bash
# Runs one Windows executable under Wine in the session tools/wine-session.sh started in DIR; ctest's
# cross-compiling emulator: wine-exec.sh DIR program.exe args...
# Output goes through a file: Wine's helper processes (services, explorer) inherit the descriptors
# and would otherwise keep ctest's pipe open after the test has ended.
set -u
session=$1
shift
if [ ! -f "$session/env" ]; then
  echo "wine-exec.sh: no Wine session in $session (ctest starts one for the Windows tests)" >&2
  exit 125
fi
# A test may ask Wine to load some DLLs as Windows would (native before builtin), on top of the
# session's own overrides.
own=${WINEDLLOVERRIDES:-}
# shellcheck source=/dev/null
source "$session/env"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES${own:+;$own}"
log=$(mktemp)
wine "$@" >"$log" 2>&1 </dev/null
rc=$?
cat "$log"
rm -f "$log"
exit $rc
