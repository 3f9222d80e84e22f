#!/usr/bin/env bash
# The main job: builds the suite for Windows, starts an emulated Quillfern, registers the
# middleware in the private Wine prefix and runs the command-line client against it.
# Usage: scripts/demo.sh [client arguments...]   (default: info)
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

echo "== QuillfernCli ${*:-info}"
"$QUILL_WINE" "$bin/QuillfernCli.exe" "${@:-info}" </dev/null && status=0 || status=$?

echo "== what the emulated mouse received (its request log)"
"$QUILL_WINE" "$bin/QuillfernEmulator.exe" ctl --pipe "$pipe" log </dev/null
"$QUILL_WINE" "$bin/QuillfernEmulator.exe" ctl --pipe "$pipe" log-check </dev/null
exit $status
