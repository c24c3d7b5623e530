# Sourced by the scripts in tools/: one Xvfb and one Wine prefix for a whole run,
# ended by the trap below (our own Xvfb PID and our own prefix's wineserver only).
# Input: KESTUL_PREFIX (prefix folder). Output: DISPLAY and WINEPREFIX exported.

kestul_session_start() {
  local prefix=$1 screen=${2:-1920x1080x24}
  mkdir -p "$prefix"
  prefix=$(cd "$prefix" && pwd)
  export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  mkdir -p "$WINEPREFIX"
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  KESTUL_XVFB_PID=$!
  local display
  read -r display <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$display"
  trap kestul_session_stop EXIT
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
  if [ -n "${KESTUL_XVFB_PID:-}" ]; then
    kill "$KESTUL_XVFB_PID" 2>/dev/null || true
    wait "$KESTUL_XVFB_PID" 2>/dev/null || true
    KESTUL_XVFB_PID=
  fi
}
