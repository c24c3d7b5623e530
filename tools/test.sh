#!/usr/bin/env bash
# Every test, through ctest: installs what is missing (tools/deps.sh), then the native, Windows and
# fuzz workflows (CMakePresets.json): build with clang-tidy, cppcheck and every header on its own,
# then the tests, including clang-format, actionlint, the Windows tests under Wine in a private
# Xvfb at 1024x768 (a hosted Windows runner's desktop; KESTUL_WINE_SCREEN changes it) and a minute
# of fuzzing. Exits non-zero when anything fails.
set -uo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)
./tools/deps.sh || exit 1
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}
failed=()
for workflow in native windows fuzz; do
  printf '\n=== %s\n' "$workflow"
  cmake --workflow --preset "$workflow" || failed+=("$workflow")
done
printf '\n=== done in %s s\n' "$(($(date +%s) - start))"
[ ${#failed[@]} -eq 0 ] || { echo "FAILED: ${failed[*]}"; exit 1; }
echo "all tests passed"
