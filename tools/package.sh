#!/usr/bin/env bash
# Builds the Windows program (MinGW cross build) and packs the portable ZIP: the exe, the Japanese
# read-me, the user guide as one HTML page, the licence and THIRD-PARTY-NOTICES.txt. Fails when the
# exe took code from a toolchain library that the notices file does not name, when the guide page
# is missing, or when a text file in the ZIP has a bare LF line end. KESTUL_BUILD_ROOT moves the
# build folders (default: build/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTUL_BUILD_ROOT:-$root/build}
windows=$build/windows
cd "$root"
"$root/tools/deps.sh"
cmake --preset windows -B "$windows" >/dev/null
cmake --build "$windows" --target KestulAutoClicker

# The link map lists every archive member and object file the linker put into the exe; those from
# outside the build folder are the toolchain's, and each of their libraries must be named.
notices=packaging/THIRD-PARTY-NOTICES.txt
mapfile -t linked < <(
  awk -v build="$build/" '
    /^Archive member included/ { members = 1; next }
    /^Discarded input sections/ { members = 0 }
    members && /^\// { sub(/\(.*/, ""); file = $0 }
    /^LOAD \/.*\.o$/ { file = $2 }
    file != "" && index(file, build) != 1 { print file }
    { file = "" }
  ' "$windows/bin/KestulAutoClicker.map" | xargs -r -n1 basename | sort -u)
if [ ${#linked[@]} -eq 0 ]; then
  echo "package: no toolchain library found in $windows/bin/KestulAutoClicker.map"
  exit 1
fi
missing=()
for name in "${linked[@]}"; do grep -qF "$name" "$notices" || missing+=("$name"); done
if [ ${#missing[@]} -gt 0 ]; then
  echo "package: the exe contains code from ${missing[*]}, which $notices does not name"
  exit 1
fi
echo "package: runtime code from ${linked[*]}"

# The ZIP's name follows from the version CMake knows; older ZIPs beside it are left alone.
name=$(sed -nE 's/^set\(CPACK_PACKAGE_FILE_NAME "(.+)"\)$/\1/p' "$windows/CPackConfig.cmake")
[ -n "$name" ] || { echo "package: no CPACK_PACKAGE_FILE_NAME in $windows/CPackConfig.cmake"; exit 1; }
zip=$build/package/$name.zip
rm -f "$zip"
(cd "$windows" && cpack -G ZIP -B "$build/package" >/dev/null)
[ -f "$zip" ] || { echo "package: cpack wrote no $zip"; exit 1; }

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
(cd "$unpacked" && cmake -E tar xf "$zip")

# The read-me sends the user to the guide page; a ZIP without it is no release.
if [ -z "$(find "$unpacked" -name guide-ja.html -size +1k)" ]; then
  echo "package: the ZIP holds no guide-ja.html; $zip removed"
  rm -f "$zip"
  exit 1
fi

# Notepad before Windows 10 1809 shows a file with bare LF line ends as one long line.
while IFS= read -r -d '' text; do
  if grep -qv $'\r$' "$text"; then
    echo "package: ${text#"$unpacked"/} has lines without CRLF; $zip removed"
    rm -f "$zip"
    exit 1
  fi
done < <(find "$unpacked" -name '*.txt' -print0)

echo "package: $zip"
cmake -E tar tf "$zip"
