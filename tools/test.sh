#!/usr/bin/env bash
# Installs what is missing (tools/deps.sh), builds both presets and runs every test: native
# (ASan + UBSan), static analysis (clang-tidy, cppcheck, clang-format, actionlint, the
# MSVC-compatibility check) and Windows (the platform-free tests too, under Wine in Xvfb at
# 1024x768, the size of a hosted Windows runner's desktop).
# Exits non-zero when anything fails. KESTUL_BUILD_ROOT moves the build folders (default: build/).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${KESTUL_BUILD_ROOT:-$root/build}
start=$(date +%s)
failed=0
"$root/tools/deps.sh" || exit 1

step() { printf '\n=== %s\n' "$*"; }

step "native build"
cmake --preset native -B "$build/native" >/dev/null && cmake --build "$build/native" || exit 1
step "native tests"
ctest --test-dir "$build/native" --output-on-failure -j "$(nproc)" || failed=1

step "windows build"
cmake --preset windows -B "$build/windows" >/dev/null && cmake --build "$build/windows" || exit 1

step "static analysis"
"$root/tools/lint.sh" || failed=1
"$root/tools/msvc-check.sh" || failed=1

step "windows tests (Wine)"
# shellcheck source=tools/wine-session.sh
source "$root/tools/wine-session.sh"
kestul_session_start "$build/windows/wineprefix" 1024x768x24
mkdir -p "$build/windows/artifacts"
export KESTUL_ARTIFACTS="$build/windows/artifacts"
# The benchmarks (label bench) are not tests: `ctest -L bench` runs them on their own.
ctest --test-dir "$build/windows" --output-on-failure -j 2 -LE bench || failed=1
kestul_session_stop
# Screenshots taken by the tests arrive as BMP; keep PNG copies beside them.
for bmp in "$build/windows/artifacts"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" 2>/dev/null && rm -f "$bmp"
done

if [ -x "$root/tools/fuzz.sh" ]; then
  step "fuzzing (bounded)"
  "$root/tools/fuzz.sh" "${KESTUL_FUZZ_SECONDS:-60}" || failed=1
fi

step "done in $(( $(date +%s) - start )) s"
if [ $failed -ne 0 ]; then
  echo "SOME TESTS FAILED"
  exit 1
fi
echo "all tests passed"
