# Sourced by the scripts: the private Wine prefix, the persistent wineserver and Xvfb.
# Everything started here is stopped by process id (quill_wine_stop, quill_xvfb_stop).
QUILL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${QUILL_WINEPREFIX:-$QUILL_ROOT/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
QUILL_WINE=/usr/lib/wine/wine64
QUILL_WINESERVER=/usr/lib/wine/wineserver

# Creates the prefix once (about 10 s); no window manager under Xvfb, so windows are unmanaged.
quill_wine_prefix_init() {
  [ -f "$WINEPREFIX/.quill-ready" ] && return 0
  mkdir -p "$WINEPREFIX"
  "$QUILL_WINE" wineboot -i </dev/null >/dev/null 2>&1 || true
  "$QUILL_WINESERVER" -w
  "$QUILL_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
  "$QUILL_WINESERVER" -w
  touch "$WINEPREFIX/.quill-ready"
}

# Starts one persistent wineserver for the prefix and warms it up, so that Wine's service
# processes never inherit a test's output pipe. Returns 0 also when a server already runs.
quill_wine_start() {
  quill_wine_prefix_init
  if "$QUILL_WINESERVER" -p </dev/null >/dev/null 2>&1; then
    "$QUILL_WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
  fi
}

quill_wine_stop() {
  "$QUILL_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  "$QUILL_WINESERVER" -w </dev/null >/dev/null 2>&1 || true
}

# Starts Xvfb on a free display and exports DISPLAY; QUILL_XVFB_PID holds its process id.
quill_xvfb_start() {
  local fifo
  fifo=$(mktemp -u /tmp/quill-xvfb.XXXXXX)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  QUILL_XVFB_PID=$!
  local display
  read -r display <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$display"
}

quill_xvfb_stop() {
  if [ -n "${QUILL_XVFB_PID:-}" ]; then
    kill "$QUILL_XVFB_PID" 2>/dev/null || true
    wait "$QUILL_XVFB_PID" 2>/dev/null || true
    QUILL_XVFB_PID=
  fi
}

# The Windows form of a Unix path (the prefix maps drive Z: to /).
quill_winpath() {
  local p
  p=$(realpath -m "$1")
  printf 'Z:%s\n' "${p//\//\\}"
}
