#!/usr/bin/env bash
# The main job: builds the suite for Windows, starts an emulated Quillfern, registers the
# middleware in the private Wine prefix and runs the command-line client against it.
# Usage: scripts/demo.sh                         (info, then a walk-through of the client's commands)
#        scripts/demo.sh --tour                  (the walk-through only)
#        scripts/demo.sh <client arguments...>   (one client command, then the request log)
# Installs what it needs on a fresh Debian machine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
echo "== building the Windows binaries (first time: a few minutes)"
"$root/scripts/build.sh" win --target TorvoMiddlewareServer QuillfernEmulator QuillfernCli >/dev/null
bin=$root/build/win/bin
source "$root/scripts/wine-env.sh"
echo "== starting Wine in the private prefix $WINEPREFIX (first time: about 15 s)"
quill_wine_start

state_dir=$root/build/demo
mkdir -p "$state_dir"
pipe=quillfern-demo-$$
emulator_pid=
cleanup() {
  if [ -n "$emulator_pid" ]; then
    "$QUILL_WINE" "$bin/QuillfernEmulator.exe" ctl --pipe "$pipe" quit </dev/null >/dev/null 2>&1 || true
    for _ in $(seq 50); do kill -0 "$emulator_pid" 2>/dev/null || break; sleep 0.1; done
    kill "$emulator_pid" 2>/dev/null || true
    wait "$emulator_pid" 2>/dev/null || true
  fi
  quill_wine_stop
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

walk=no
if [ $# -eq 0 ]; then
  walk=yes
  cli info && tour && status=0 || status=$?
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
