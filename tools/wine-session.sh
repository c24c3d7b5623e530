#!/usr/bin/env bash
# One X display and one Wine prefix for a run of Windows programs. ctest starts it before the first
# Windows test and stops it after the last (the wine fixture); tools/run.sh around the program.
#   wine-session.sh start DIR [SCREEN]      SCREEN: an Xvfb screen such as 1920x1080x24 (default
#       $KESTUL_WINE_SCREEN, else 1024x768x24, a hosted Windows runner's desktop), or "dual": a
#       primary 0,0-1920,1080 and a monitor at -1280,0-0,1024 (an Xinerama Xephyr in a large Xvfb;
#       Xvfb alone offers Wine one monitor), or "here": the display in $DISPLAY.
#   wine-session.sh stop DIR [ARTIFACTS]    also turns the tests' BMP screenshots in ARTIFACTS to PNG
# DIR keeps the prefix, the environment for tools/wine-exec.sh (DIR/env) and the X servers' PIDs.
# Only our own processes are ended: the X servers by PID, Wine by its prefix.
set -euo pipefail
command=$1 dir=$(mkdir -p "$2" && cd "$2" && pwd)
export WINEPREFIX=$dir/prefix WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko prompts, no desktop menu entries; written into DIR/env for every user of the session.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Starts an X server ("$@", which must accept -displayfd) in a session of its own, so that no
# caller's pipe or process group holds it; prints its display number and records its PID.
x_server() {
  local fifo display
  fifo=$(mktemp -u) && mkfifo "$fifo"
  setsid "$@" -displayfd 3 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
  echo $! >>"$dir/pids"
  read -r display <"$fifo"
  rm -f "$fifo"
  echo "$display"
}

stop() {
  [ -d "$WINEPREFIX" ] && { wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; }
  # The nested server first (listed last), then the one holding it.
  if [ -f "$dir/pids" ]; then
    # A PID left by a run that was cut short may belong to someone else by now.
    tac "$dir/pids" | while read -r pid; do
      if grep -qxE 'Xvfb|Xephyr' "/proc/$pid/comm" 2>/dev/null; then
        kill "$pid" && tail --pid="$pid" -f /dev/null
      fi
    done
    rm -f "$dir/pids"
  fi
  rm -f "$dir/env"
}

case $command in
  start)
    stop
    screen=${3:-${KESTUL_WINE_SCREEN:-1024x768x24}}
    if [ "$screen" = here ]; then
      display=${DISPLAY#:}
    elif [ "$screen" = dual ]; then
      outer=$(x_server Xvfb -screen 0 4000x1200x24)
      display=$(DISPLAY=:$outer x_server Xephyr +xinerama -extension RANDR \
        -origin 1280,0 -screen 1920x1080 -origin 0,0 -screen 1280x1024)
    else
      display=$(x_server Xvfb -screen 0 "$screen")
    fi
    export DISPLAY=:$display
    # Wine names Unix files in the locale's character set: without UTF-8 (no LANG, as on a bare
    # machine) a Japanese folder name cannot be created at all.
    utf8=""
    if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
      export LC_ALL=C.UTF-8
      utf8="export LC_ALL=C.UTF-8"
    fi
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    [ -f "$WINEPREFIX/system.reg" ] || { wineboot -i || true; wineserver -w; } </dev/null >/dev/null 2>&1
    wine reg import "$(dirname "$0")/wine-fonts.reg" </dev/null >/dev/null 2>&1 || true
    cp -n /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -w
    wineserver -p </dev/null >/dev/null 2>&1
    # Wine's desktop services now, detached from any caller's pipes.
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
    printf 'export DISPLAY=%s WINEPREFIX=%s WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="%s"\n%s\n' \
      "$DISPLAY" "$WINEPREFIX" "$WINEDLLOVERRIDES" "$utf8" >"$dir/env"
    echo "Wine session on $DISPLAY ($screen), prefix $WINEPREFIX"
    ;;
  stop)
    stop
    for bmp in "${3:-/nonexistent}"/*.bmp; do
      if [ -e "$bmp" ]; then convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"; fi
    done
    ;;
  *)
    echo "usage: wine-session.sh start DIR [SCREEN] | stop DIR [ARTIFACTS]" >&2
    exit 2
    ;;
esac
