# Sourced by the scripts in tools/: one X display and one Wine prefix for a whole run,
# ended by the trap below (our own X server PIDs and our own prefix's wineserver only).
# Input: KESTUL_PREFIX (prefix folder). Output: DISPLAY and WINEPREFIX exported.

# Starts an X server ("$@", which must accept -displayfd) in the background; sets
# KESTUL_X_PID and KESTUL_X_DISPLAY.
kestul_x_server() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  "$@" -displayfd 3 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  KESTUL_X_PID=$!
  read -r KESTUL_X_DISPLAY <"$fifo"
  rm -f "$fifo"
}

# SCREEN: an Xvfb screen such as 1024x768x24 (default 1920x1080x24), or "dual": two monitors,
# a primary 0,0-1920,1080 and one at -1280,0-0,1024. Xvfb offers only one monitor to Wine, so
# "dual" nests an Xinerama Xephyr (RandR off) inside a large Xvfb.
kestul_session_start() {
  local prefix=$1 screen=${2:-1920x1080x24}
  mkdir -p "$prefix"
  prefix=$(cd "$prefix" && pwd)
  export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # Wine names Unix files in the locale's character set: without UTF-8 (no LANG, as on a bare
  # machine) a Japanese folder name cannot be created at all.
  [ "$(locale charmap 2>/dev/null)" = UTF-8 ] || export LC_ALL=C.UTF-8
  mkdir -p "$WINEPREFIX"
  trap kestul_session_stop EXIT
  if [ "$screen" = dual ]; then
    kestul_x_server Xvfb -screen 0 4000x1200x24
    KESTUL_XVFB_PID=$KESTUL_X_PID
    DISPLAY=":$KESTUL_X_DISPLAY" kestul_x_server Xephyr +xinerama -extension RANDR \
      -origin 1280,0 -screen 1920x1080 -origin 0,0 -screen 1280x1024
    KESTUL_XEPHYR_PID=$KESTUL_X_PID
  else
    kestul_x_server Xvfb -screen 0 "$screen"
    KESTUL_XVFB_PID=$KESTUL_X_PID
  fi
  export DISPLAY=":$KESTUL_X_DISPLAY"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  wine reg import "$(dirname "${BASH_SOURCE[0]}")/wine-fonts.reg" >/dev/null 2>&1 || true
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  [ -f /usr/share/wine/fonts/marlett.ttf ] && cp -n /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  wineserver -w
  wineserver -p
  # Start Wine's desktop services now, detached from any caller's pipes.
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

kestul_session_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
  # The nested server first, then the one holding it.
  local pid
  for pid in "${KESTUL_XEPHYR_PID:-}" "${KESTUL_XVFB_PID:-}"; do
    [ -n "$pid" ] || continue
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  KESTUL_XEPHYR_PID='' KESTUL_XVFB_PID=''
}
