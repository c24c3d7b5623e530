#!/usr/bin/env bash
# The long reliability runs; the test command runs the same tests in their short form.
#   10,000 start/stop cycles of the worker, 1,000 through the real window (button, F8, F9, lock and
#   display change mixed), 200 kills of a process saving settings, the refused-injection cases,
#   and ten minutes of fuzzing the settings reader.
# Environment: KESTUL_BUILD_ROOT (default build/); KESTUL_FUZZ_SECONDS (default 600).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${KESTUL_BUILD_ROOT:-$root/build}
start=$(date +%s)
failed=0

cmake --preset windows -B "$build/windows" >/dev/null && cmake --build "$build/windows" || exit 1

# shellcheck source=tools/wine-session.sh
source "$root/tools/wine-session.sh"
kestul_session_start "$build/windows/wineprefix"
export KESTUL_SOAK_CYCLES=10000 KESTUL_SOAK_WINDOW_CYCLES=1000 KESTUL_SAVE_KILLS=200
for t in test_click_worker test_soak test_save_kill test_input_refused; do
  echo "=== $t"
  t0=$(date +%s)
  ctest --test-dir "$build/windows" -R "^$t\$" --output-on-failure --timeout 3600 || failed=1
  echo "$t: $(( $(date +%s) - t0 )) s"
done
kestul_session_stop

echo "=== fuzzing"
"$root/tools/fuzz.sh" "${KESTUL_FUZZ_SECONDS:-600}" || failed=1

echo "reliability runs done in $(( $(date +%s) - start )) s"
[ $failed -eq 0 ] && echo "all passed" || echo "SOME RUNS FAILED"
exit $failed
