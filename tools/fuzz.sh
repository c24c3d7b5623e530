#!/usr/bin/env bash
# Bounded fuzzing of the settings text: builds the fuzz preset, runs the libFuzzer target for the
# given number of seconds (default 60) from the checked-in corpus, prints its speed, and fails on
# any crash or broken check. KESTUL_BUILD_ROOT moves the build folder (default: build/).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-60}
build=${KESTUL_BUILD_ROOT:-$root/build}/fuzz
seeds=$root/tests/settings/fuzz/corpus
dict=$root/tests/settings/fuzz/settings.dict

cmake --preset fuzz -B "$build" >/dev/null || exit 1
cmake --build "$build" --target fuzz_settings_text || exit 1

# New inputs go to a working corpus in the build folder; the checked-in one stays as it is.
work=$build/corpus-settings-text
artifacts=$build/artifacts/
mkdir -p "$work" "$artifacts"
log=$build/fuzz_settings_text.log

"$build/bin/fuzz_settings_text" -max_total_time="$seconds" -timeout=10 -max_len=4096 -dict="$dict" \
  -artifact_prefix="$artifacts" -print_final_stats=1 "$work" "$seeds" >"$log" 2>&1
rc=$?

executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
echo "fuzz_settings_text: ${executed:-?} executions in ${seconds} s, ${speed:-?} executions/s (log: $log)"
if [ $rc -ne 0 ]; then
  tail -n 40 "$log"
  echo "fuzz_settings_text FAILED (exit $rc); crashing inputs are kept in $artifacts"
  exit 1
fi
