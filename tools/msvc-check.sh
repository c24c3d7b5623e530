#!/usr/bin/env bash
# MSVC-compatibility check that runs on Linux: every C++ file of the Windows build (src/, tests/,
# bench/) is parsed by clang in MSVC mode (-fsyntax-only), with warnings as errors.
#
# What it does
#   - Takes the file list and each file's -I/-isystem/-D/-std flags from the Windows build's
#     compile_commands.json (configured here if missing), so it sees exactly what the exe, the
#     Windows tests and the benchmarks compile.
#   - Parses them with `clang++ --target=x86_64-pc-windows-msvc -fms-compatibility -fms-extensions`:
#     _MSC_VER is 1938 (Visual Studio 2022) and __GNUC__, __MINGW32__ are undefined; wchar_t, long
#     and long double have their MSVC meaning; two-phase name lookup is on (as with cl
#     /permissive-), and code that only MS leniency accepts is reported (-Wmicrosoft).
#   - Rejects GCC-only constructs in our code: GNU extensions (-Wgnu, -Wpedantic), variable-length
#     and zero-length arrays, and the warnings of cl /W4 that have a clang twin (shadowing,
#     64-to-32-bit and other narrowing conversions, unreachable code, maybe-uninitialised locals,
#     unused parameters, signed/unsigned comparison).
#   - Rejects CRT functions that cl deprecates with C4996 (wcsncpy, fopen, _wgetenv, strdup...):
#     the MinGW headers mark them when __MINGW_MSVC_COMPAT_WARNINGS is defined, which the prelude
#     does. MinGW also marks memcpy, memmove, wmemcpy and wmemmove, which cl deprecates only on
#     request, so those four pass; the few that MinGW leaves unmarked (strcpy, sprintf, sscanf,
#     localtime...) are found by a plain search of our sources.
#   - Parses every header of ours on its own, so that one leaning on what its includers happened
#     to include first is found.
#
# How it gets a working header set without the Windows SDK or MSVC's STL
#   The Windows headers are MinGW-w64's and the C++ library is libstdc++ from MinGW g++-posix
#   (its include directories are asked from the compiler). Neither is meant for a compiler that
#   defines _MSC_VER but not __GNUC__, so a forced-include prelude, generated below, repairs that
#   pairing and nothing else:
#   - _mingw.h defines __attribute__(x) away and spells attributes as __declspec after the
#     declarator (which no compiler accepts); the prelude restores the GNU spellings clang takes.
#   - sal.h defines __in and __out, which are parameter names inside libstdc++; undefined again.
#   - MIDL_INTERFACE carries no uuid in MinGW, so __uuidof on its interfaces fails; the prelude
#     switches to MinGW's own template emulation of __uuidof.
#   - libstdc++ reads GCC's predefined __GCC_ATOMIC_* lock-free macros; they are copied from what
#     clang itself predefines for the x86_64 MinGW target. __STRICT_ANSI__ is defined, as g++
#     does for -std=c++20, so that libstdc++ does not treat __int128 (absent in MSVC) as integral.
#   - __MINGW_MSVC_COMPAT_WARNINGS turns on MinGW's copies of cl's C4996 deprecations (above).
#   The prelude touches only macros that system headers use; our code is parsed with the macro
#   set of cl (and the check fails if our code tests __GNUC__ or __MINGW32__, which it could
#   then not judge).
#
# What it does not prove
#   That cl.exe accepts the code: clang's MSVC mode is not cl, and its own bugs and extensions
#   differ. It does not use the Windows SDK headers or MSVC's STL, so a standard header that
#   libstdc++ includes transitively but MSVC's STL does not goes unnoticed, and so does a Win32
#   name that MinGW declares and the SDK does not. Nothing is compiled to code, linked, or run; the
#   resource script is not checked. A real MSVC build is the final word.
#
# Usage: tools/msvc-check.sh [file...]   (default: every file in the Windows build)
# KESTUL_BUILD_ROOT moves the build folders (default: build/). Exits non-zero on any finding.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 2
build=${KESTUL_BUILD_ROOT:-$root/build}
windows=$build/windows
out=$build/msvc-check
clangxx=${KESTUL_CLANGXX:-clang++}
mingw_gxx=${KESTUL_MINGW_GXX:-x86_64-w64-mingw32-g++-posix}
mkdir -p "$out"

for tool in "$clangxx" "$mingw_gxx" python3; do
  command -v "$tool" >/dev/null || { echo "msvc-check: $tool not found (tools/deps.sh installs it)"; exit 2; }
done
if [ ! -f "$windows/compile_commands.json" ]; then
  cmake --preset windows -B "$windows" >/dev/null || { echo "msvc-check: cannot configure $windows"; exit 2; }
fi

# libstdc++ and the Windows headers, in the order g++ searches them; the C headers of GCC itself
# (include, include-fixed) are left out in favour of clang's own.
mapfile -t gxx_dirs < <("$mingw_gxx" -xc++ -E -v /dev/null 2>&1 |
  sed -n '/#include <...> search starts here:/,/End of search list./p' | sed '1d;$d;s/^ *//')
system_flags=()
for dir in "${gxx_dirs[@]}"; do
  case "$dir" in
    */include/c++*) system_flags+=(-isystem "$(realpath "$dir")") ;;
  esac
done
system_flags+=(-isystem "$("$clangxx" -print-resource-dir)/include")
for dir in "${gxx_dirs[@]}"; do
  case "$dir" in
    */x86_64-w64-mingw32/include) system_flags+=(-isystem "$(realpath "$dir")") ;;
  esac
done
if [ ${#system_flags[@]} -ne 10 ]; then  # three of libstdc++, clang's, the Windows headers
  echo "msvc-check: unexpected include directories from $mingw_gxx: ${gxx_dirs[*]}"
  exit 2
fi

prelude=$out/msvc-prelude.h
{
  echo "// Generated by tools/msvc-check.sh: makes the MinGW-w64 headers and libstdc++ usable by"
  echo "// clang in MSVC mode. See the script's header for each repair."
  echo "#pragma once"
  "$clangxx" --target=x86_64-w64-mingw32 -std=c++20 -dM -E -xc++ /dev/null | grep -E '^#define __GCC_ATOMIC_'
  cat <<'EOF'
#define __MINGW_MSVC_COMPAT_WARNINGS 1
#include <_mingw.h>
#undef __attribute__
#undef __MINGW_ATTRIB_DEPRECATED_STR
#define __MINGW_ATTRIB_DEPRECATED_STR(x) __attribute__((__deprecated__(x)))
#undef __MINGW_ATTRIB_NORETURN
#define __MINGW_ATTRIB_NORETURN __attribute__((__noreturn__))
#undef __MINGW_ATTRIB_CONST
#define __MINGW_ATTRIB_CONST __attribute__((__const__))
#undef __MINGW_ATTRIB_MALLOC
#define __MINGW_ATTRIB_MALLOC __attribute__((__malloc__))
#undef __MINGW_ATTRIB_PURE
#define __MINGW_ATTRIB_PURE __attribute__((__pure__))
#undef __MINGW_ATTRIB_DEPRECATED
#define __MINGW_ATTRIB_DEPRECATED __attribute__((__deprecated__))
#undef __MINGW_ATTRIB_DEPRECATED_MSG
#define __MINGW_ATTRIB_DEPRECATED_MSG(x) __attribute__((__deprecated__(x)))
#undef __MINGW_NOTHROW
#define __MINGW_NOTHROW __attribute__((__nothrow__))
#include <sal.h>
#undef __in
#undef __out
#undef USE___UUIDOF
#define USE___UUIDOF 0
#undef __CRT_UUID_DECL
#define __CRT_UUID_DECL(type, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)                           \
  extern "C++" {                                                                                   \
  template <>                                                                                      \
  struct __mingw_uuidof_s<type> {                                                                  \
    static constexpr IID __uuid_inst = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}};              \
  };                                                                                               \
  template <>                                                                                      \
  constexpr const GUID& __mingw_uuidof<type>() {                                                   \
    return __mingw_uuidof_s<type>::__uuid_inst;                                                    \
  }                                                                                                \
  template <>                                                                                      \
  constexpr const GUID& __mingw_uuidof<type*>() {                                                  \
    return __mingw_uuidof_s<type>::__uuid_inst;                                                    \
  }                                                                                                \
  }
#define __uuidof(type) __mingw_uuidof<__typeof(type)>()
EOF
} >"$prelude"

msvc_flags=(
  --target=x86_64-pc-windows-msvc -fms-compatibility -fms-extensions -fms-compatibility-version=19.38
  -fno-delayed-template-parsing -fsyntax-only -nostdinc -D__STRICT_ANSI__ -include "$prelude"
  -Werror -Wno-error=deprecated-declarations
  -Wall -Wextra -Wpedantic -Wgnu -Wvla -Wzero-length-array -Wmicrosoft
  -Wshadow -Wshorten-64-to-32 -Wimplicit-int-conversion -Wimplicit-float-conversion
  -Wunreachable-code -Wconditional-uninitialized -Wsign-compare
)

# One line per file: its name, its path, then its own -I/-isystem/-D/-std flags from the Windows
# build. Each header under src/, tests/ and bench/ follows, to be parsed on its own (with the flags
# of all files together), so that a header leaning on what its includers happened to include first
# is found: the most common way code that builds with one standard library breaks with another.
if ! python3 - "$windows/compile_commands.json" "$root" "$out/headers" "$@" >"$out/commands.txt" <<'PY'
import json, os, shlex, sys
db, root, headers_dir = sys.argv[1], sys.argv[2], sys.argv[3]
wanted = {os.path.abspath(f) for f in sys.argv[4:]}

def kept_flags(args):
    """The -I, -isystem, -D and -std flags of a compile command, each as one tuple."""
    flags, i = [], 1
    while i < len(args):
        if args[i] in ("-I", "-isystem", "-D") and i + 1 < len(args):
            flags.append((args[i], args[i + 1]))
            i += 1
        elif args[i].startswith(("-D", "-I", "-std=")):
            flags.append((args[i],))
        i += 1
    return flags

every_flag, sources = {}, 0
for entry in json.load(open(db)):
    path = os.path.abspath(os.path.join(entry["directory"], entry["file"]))
    rel = os.path.relpath(path, root)
    if rel.split(os.sep)[0] not in ("src", "tests", "bench") or not rel.endswith(".cpp"):
        continue
    flags = kept_flags(entry.get("arguments") or shlex.split(entry["command"]))
    every_flag.update(dict.fromkeys(flags))
    sources += 1
    if not wanted or path in wanted:
        print("\t".join([rel, path] + [part for flag in flags for part in flag]))
if not sources:
    sys.exit("msvc-check: no sources of ours in " + db)
if wanted:
    sys.exit(0)

union = [part for flag in every_flag for part in flag] + ["-I" + root]
# Every header on disk, tracked or not, so that the check works in any copy of the tree.
listed = [os.path.relpath(os.path.join(folder, name), root)
          for top in ("src", "tests", "bench")
          for folder, _, names in os.walk(os.path.join(root, top))
          for name in names if name.endswith(".h")]
if not listed:
    sys.exit("msvc-check: no headers found under src/, tests/ and bench/")
os.makedirs(headers_dir, exist_ok=True)
for header in sorted(listed):
    unit = os.path.join(headers_dir, header.replace(os.sep, "_") + ".cpp")
    with open(unit, "w") as out:
        out.write('#include "%s"\n' % os.path.join(root, header))
    print("\t".join([header, unit] + union))
PY
then
  echo "msvc-check: cannot list the files to check"
  exit 2
fi
mapfile -t commands <"$out/commands.txt"
if [ ${#commands[@]} -eq 0 ]; then
  echo "msvc-check: no files to check"
  exit 2
fi

failed=0

# Compiler-identity tests in our code would be judged under cl's macro set only.
if grep -rnE '^\s*#\s*(if|ifdef|ifndef|elif).*\b(__GNUC__|__MINGW32__|__MINGW64__)\b' src tests bench \
  --include='*.cpp' --include='*.h'; then
  echo "msvc-check: the lines above test the compiler; this check cannot judge their other branch"
  failed=1
fi

# CRT functions that cl deprecates (C4996) are marked as such by the MinGW headers in this mode,
# except these few; a call is the name not preceded by '.', '>' or an identifier character.
unmarked='strcpy|strcat|sprintf|vsprintf|sscanf|swscanf|localtime|gmtime|ctime|mbstowcs|tmpnam'
if grep -rnE "(^|[^.>A-Za-z0-9_])($unmarked)[[:space:]]*\(" src tests bench --include='*.cpp' --include='*.h'; then
  echo "msvc-check: the lines above call CRT functions that cl deprecates (C4996)"
  failed=1
fi

echo "msvc-check: ${#commands[@]} files and headers, clang $("$clangxx" -dumpversion) in MSVC mode"
# Runs one file; its diagnostics are printed whole once it has finished, so parallel runs do not
# interleave. Deprecations stay warnings so that the memcpy family (deprecated by cl only with
# _CRT_SECURE_WARNINGS_MEMORY) can pass; any other warning fails the file.
check_one() {
  local fields log
  IFS=$'\t' read -r -a fields <<<"$1"
  log=$out/$(tr / _ <<<"${fields[0]}").log
  if ! "$clangxx" "${msvc_flags[@]}" "${system_flags[@]}" "${fields[@]:2}" "${fields[1]}" >"$log" 2>&1 ||
    grep -E 'warning: ' "$log" | grep -qvE "warning: '(w?memcpy|w?memmove)' is deprecated"; then
    cat "$log"
    echo "msvc-check: FAILED ${fields[0]}"
    return 1
  fi
}
jobs_max=$(nproc)
running=0
for line in "${commands[@]}"; do
  if [ $running -ge "$jobs_max" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  check_one "$line" &
  running=$((running + 1))
done
while [ $running -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done

[ $failed -eq 0 ] && echo "msvc-check clean"
exit $failed
