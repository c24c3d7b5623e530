#!/usr/bin/env bash
# Benchmarks of the real exe under Wine in a private Xvfb: click cadence (against xdotool), stop
# latency, idle cost, start-up and footprint (against a bare window built by the bench). Prints the
# table and writes it to build/bench/ as bench.csv and bench.md (raw figures in raw.csv).
# KESTUL_BUILD_ROOT moves the build folders (default: build/). KESTUL_BENCH_LONG=1 clicks for ten
# minutes in the footprint run instead of one. Needs xdotool (tools/deps.sh installs it).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${KESTUL_BUILD_ROOT:-$root/build}
out=$build/bench
command -v xdotool >/dev/null || { echo "bench.sh: xdotool is missing (run tools/deps.sh)"; exit 1; }
footprint=60
[ "${KESTUL_BENCH_LONG:-0}" = 1 ] && footprint=600
start=$(date +%s)
load=$(cut -d' ' -f1-3 /proc/loadavg)

cmake --preset windows -B "$build/windows" >/dev/null && cmake --build "$build/windows" --target kestul_bench || exit 1
bin=$build/windows/bin
mkdir -p "$out"
rm -f "$out/raw.csv"

# shellcheck source=tools/wine-session.sh
source "$root/tools/wine-session.sh"
kestul_session_start "$build/windows/benchprefix"
win() { winepath -w "$1" 2>/dev/null; }
raw=$(win "$out/raw.csv")
failed=0
bench() {
  echo "== $*"
  wine "$bin/kestul_bench.exe" "$1" "$raw" "${@:2}" </dev/null || { echo "FAILED: $*"; failed=1; }
}

# The reference: the same target window, clicked from the X side by xdotool.
xdotool_cadence() {
  local delay=$1 clicks=$2 ready=$out/xdotool.ready
  rm -f "$ready"
  echo "== xdotool click --repeat $clicks --delay $delay"
  wine "$bin/kestul_bench.exe" xdotool-target "$raw" "$delay" "$clicks" "$(win "$ready")" </dev/null &
  local target=$!
  for _ in $(seq 300); do [ -s "$ready" ] && break; sleep 0.1; done
  if [ -s "$ready" ]; then
    read -r x y <"$ready"
    xdotool mousemove "$x" "$y" sleep 0.3 click --repeat "$clicks" --delay "$delay" 1
  fi
  wait "$target" || { echo "FAILED: xdotool cadence $delay"; failed=1; }
}

bench cadence 20 500 3
xdotool_cadence 20 1500
bench cadence 100 150 2
xdotool_cadence 100 300
bench cadence 1000 60 1
xdotool_cadence 1000 60
bench stop-latency 15
bench cost 30 30 "$footprint"
bench startup 10

{
  echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) cores ($(lscpu | sed -n 's/^Model name: *//p')),"
  echo "$(wine --version 2>/dev/null | head -1) in Xvfb, $(xdotool version 2>/dev/null | head -1);"
  echo "load average before the run: $load. Footprint clicking: $footprint s."
} >"$out/notes.txt"
echo "== table"
wine "$bin/kestul_bench.exe" report "$raw" "$(win "$out/bench.csv")" "$(win "$out/bench.md")" \
  "$(win "$out/notes.txt")" </dev/null || failed=1
kestul_session_stop
echo "bench done in $(( $(date +%s) - start )) s; table in $out/bench.md and $out/bench.csv"
exit $failed
