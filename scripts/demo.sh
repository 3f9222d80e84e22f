#!/usr/bin/env bash
# The main job: builds the suite for Windows, starts an emulated Quillfern, registers the
# middleware in the private Wine prefix and runs the command-line client against it, then the
# tray agent with its on-screen displays (screenshots into build/demo/).
# Usage: scripts/demo.sh                         (info, the client's walk-through, then the tray)
#        scripts/demo.sh --tour                  (the walk-through only)
#        scripts/demo.sh <client arguments...>   (one client command, then the request log)
# Installs what it needs on a fresh Debian machine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
echo "== building the Windows binaries (first time: a few minutes)"
"$root/scripts/build.sh" win --target TorvoMiddlewareServer QuillfernEmulator QuillfernCli TorvoQuillfernTray quill_osd >/dev/null
bin=$root/build/win/bin
source "$root/scripts/wine-env.sh"
# Wine's desktop takes the display it finds when it starts: the user's, or else a virtual one.
[ -n "${DISPLAY:-}" ] || quill_xvfb_start
trap quill_xvfb_stop EXIT
echo "== starting Wine in the private prefix $WINEPREFIX (first time: about 15 s)"
quill_wine_start

state_dir=$root/build/demo
mkdir -p "$state_dir"
pipe=quillfern-demo-$$
emulator_pid=
tray_pid=
cleanup() {
  if [ -n "$tray_pid" ]; then
    "$QUILL_WINE" "$bin/TorvoQuillfernTray.exe" 9 </dev/null >/dev/null 2>&1 || true
    for _ in $(seq 100); do kill -0 "$tray_pid" 2>/dev/null || break; sleep 0.1; done
    kill "$tray_pid" 2>/dev/null || true
    wait "$tray_pid" 2>/dev/null || true
  fi
  if [ -n "$emulator_pid" ]; then
    "$QUILL_WINE" "$bin/QuillfernEmulator.exe" ctl --pipe "$pipe" quit </dev/null >/dev/null 2>&1 || true
    for _ in $(seq 50); do kill -0 "$emulator_pid" 2>/dev/null || break; sleep 0.1; done
    kill "$emulator_pid" 2>/dev/null || true
    wait "$emulator_pid" 2>/dev/null || true
  fi
  quill_wine_stop
  quill_xvfb_stop
}
trap cleanup EXIT

echo "== starting the emulated Quillfern (state kept in build/demo/quillfern-state.txt)"
"$QUILL_WINE" "$bin/QuillfernEmulator.exe" serve --pipe "$pipe" --state "$(quill_winpath "$state_dir/quillfern-state.txt")" </dev/null >"$state_dir/emulator.out" 2>&1 &
emulator_pid=$!
for _ in $(seq 100); do
  "$QUILL_WINE" "$bin/QuillfernEmulator.exe" ctl --pipe "$pipe" state </dev/null >/dev/null 2>&1 && break
  sleep 0.1
done
export QUILLFERN_EMULATOR=$pipe

echo "== registering TorvoMiddlewareServer.dll"
"$QUILL_WINE" regsvr32 /s "$(quill_winpath "$bin/TorvoMiddlewareServer.dll")" </dev/null

cli() {
  echo "== QuillfernCli $*"
  "$QUILL_WINE" "$bin/QuillfernCli.exe" "$@" </dev/null
}

# The walk-through: read, change, upload and watch, each step as a user types it.
tour() {
  cli profiles
  cli rename 1 Desk
  cli stages 1 set 400,800,1600 --default 2
  cli stages 1
  printf 'down LShift\ndown A\ndelay 50\nup A\nup LShift\nclick left\ndelay 100\n' >"$state_dir/greet.txt"
  echo "== macro text (build/demo/greet.txt):"
  cat "$state_dir/greet.txt"
  cli upload Greet "$(quill_winpath "$state_dir/greet.txt")"
  cli macro "$(cli --json macros | sed -n 's/.*"number":\([0-9]*\),"name":"Greet".*/\1/p' | head -n1)"
  # Stage 3 is now the top stage, so the button that changes something is DPI down.
  echo "== QuillfernCli watch --count 1 --seconds 20, while the DPI-down button is pressed"
  "$QUILL_WINE" "$bin/QuillfernCli.exe" watch --count 1 --seconds 20 </dev/null 2>"$state_dir/watch.err" &
  local watch_pid=$!
  for _ in $(seq 100); do grep -q watching "$state_dir/watch.err" 2>/dev/null && break; sleep 0.1; done
  echo "== QuillfernEmulator ctl press dpi-down"
  "$QUILL_WINE" "$bin/QuillfernEmulator.exe" ctl --pipe "$pipe" press dpi-down </dev/null
  wait "$watch_pid"
}


# Waits up to $2 tenths of a second for a line matching $3 in file $1; false when none came.
wait_for_line() {
  for _ in $(seq "$2"); do grep -q "$3" "$1" 2>/dev/null && return 0; sleep 0.1; done
  return 1
}

# The tray agent with the emulated mouse, on the user's display or else on a virtual one: the
# sensitivity display after the DPI-up button and the profile display after the profile button,
# each as a screenshot. Until the configuration application writes them, the profile files that
# switch the displays on are written here.
tray_demo() {
  echo "== TorvoQuillfernTray.exe with the emulated mouse"
  local appdata names n=0
  # A second profile, so that the profile button has somewhere to go.
  if [ "$("$QUILL_WINE" "$bin/QuillfernCli.exe" --json profiles </dev/null | grep -c '"slot"')" -lt 2 ]; then
    cli create Game
  fi
  appdata=$("$QUILL_WINE" winepath -u "$("$QUILL_WINE" cmd /c echo %APPDATA% </dev/null 2>/dev/null | tr -d '\r')" </dev/null 2>/dev/null)
  mkdir -p "$appdata"
  names=$("$QUILL_WINE" "$bin/QuillfernCli.exe" --json profiles </dev/null | sed -n 's/.*"name":"\([^"]*\)".*/\1/p')
  while IFS= read -r name; do
    [ -n "$name" ] || continue
    n=$((n + 1))
    printf '%s\r\n' '[FILEVERSION]' '1.03' '[SUPPORTEDDEVICE]' 'Quillfern' '[DATATYPE]' 'Profile' \
      '[PROFILENAME]' "'$name'" '[EXECUTABLE]' '<none>' '[AUTOLOAD]' '0' '[OTFSOSD]' '1' '[PROFILEOSD]' '1' |
      iconv -f UTF-8 -t UTF-16LE >"$appdata/QuillfernProfile$n.dat"
  done <<<"$names"
  echo "   profile files with the displays switched on: $n, in $appdata"
  local tray_log=$state_dir/tray.log osd_log=$state_dir/osd.log
  rm -f "$tray_log" "$osd_log" "$state_dir"/tray-*.png
  QUILLFERN_TRAY_LOG=$(quill_winpath "$tray_log") QUILLFERN_OSD_LOG=$(quill_winpath "$osd_log") \
    "$QUILL_WINE" "$bin/TorvoQuillfernTray.exe" </dev/null >"$state_dir/tray.out" 2>&1 &
  tray_pid=$!
  if ! wait_for_line "$tray_log" 300 'session open'; then
    echo "   the tray found no mouse (see $tray_log)"
    return 1
  fi
  echo "   the tray runs and holds a session with the mouse"
  local shot
  for button in dpi-up profile; do
    local shows
    shows=$(grep -c ' Show' "$osd_log" 2>/dev/null || true)
    echo "== QuillfernEmulator ctl press $button"
    "$QUILL_WINE" "$bin/QuillfernEmulator.exe" ctl --pipe "$pipe" press "$button" </dev/null
    for _ in $(seq 100); do
      [ "$(grep -c ' Show' "$osd_log" 2>/dev/null || true)" -gt "${shows:-0}" ] && break
      sleep 0.1
    done
    sleep 0.5  # the display fades in
    shot=$state_dir/tray-$button.png
    import -window root "$shot" && echo "   screenshot: $shot"
  done
  grep -E '^(activate|dpi display)' "$tray_log" | tr -d '\r' | sed 's/^/   tray: /'
}

walk=no
if [ $# -eq 0 ]; then
  walk=yes
  cli info && tour && tray_demo && status=0 || status=$?
elif [ "$1" = "--tour" ]; then
  walk=yes
  tour && status=0 || status=$?
else
  cli "$@" && status=0 || status=$?
fi

if [ "$walk" = yes ]; then
  echo "== the emulated mouse received $("$QUILL_WINE" "$bin/QuillfernEmulator.exe" ctl --pipe "$pipe" log </dev/null | wc -l) requests"
else
  echo "== what the emulated mouse received (its request log)"
  "$QUILL_WINE" "$bin/QuillfernEmulator.exe" ctl --pipe "$pipe" log </dev/null
fi
"$QUILL_WINE" "$bin/QuillfernEmulator.exe" ctl --pipe "$pipe" log-check </dev/null
exit $status
