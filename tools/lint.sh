#!/usr/bin/env bash
# Static analysis of the platform-free code on the native build: clang-tidy, cppcheck, clang-format.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${KESTUL_BUILD_ROOT:-$root/build}/native
[ -f "$build/compile_commands.json" ] || cmake --preset native -B "$build" >/dev/null
failed=0

# Sources that the native build compiles are exactly the platform-free ones.
mapfile -t core < <(python3 - "$build/compile_commands.json" <<'PY'
import json, os, sys
root = os.getcwd()
for entry in json.load(open(sys.argv[1])):
    f = os.path.relpath(entry["file"], root)
    if f.startswith("src/"):
        print(f)
PY
)
echo "clang-tidy: ${#core[@]} files"
clang-tidy -p "$build" --quiet "${core[@]}" 2>/dev/null | grep -E "warning|error" && failed=1

echo "cppcheck"
cppcheck --quiet --error-exitcode=1 --enable=warning,performance,portability --std=c++20 \
  --suppress=missingIncludeSystem --inline-suppr -I src "${core[@]}" || failed=1

echo "clang-format"
mapfile -t all < <(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h')
clang-format --dry-run --Werror "${all[@]}" 2>/dev/null || { echo "clang-format: files need formatting (run clang-format -i)"; failed=1; }

[ $failed -eq 0 ] && echo "lint clean"
exit $failed
