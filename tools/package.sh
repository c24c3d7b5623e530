#!/usr/bin/env bash
# Builds the Windows program (MinGW cross build) and packs the portable ZIP: the exe, the Japanese
# read-me and the licence. KESTUL_BUILD_ROOT moves the build folders (default: build/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTUL_BUILD_ROOT:-$root/build}
cd "$root"
cmake --preset windows -B "$build/windows" >/dev/null
cmake --build "$build/windows" --target KestulAutoClicker
(cd "$build/windows" && cpack -G ZIP -B "$build/package" >/dev/null)
zip=$(ls "$build/package"/KestulAutoClicker-*-win64.zip)
echo "package: $zip"
cmake -E tar tf "$zip"
