#!/usr/bin/env bash
# Runs every test: native (sanitizers), fuzz smoke, and the Windows tests under Wine.
# Installs what it needs on a fresh Debian machine.  Usage: scripts/test.sh [native] [fuzz] [win]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
kinds=("$@")
((${#kinds[@]})) || kinds=(native fuzz win)
status=0

run_native() {
  echo "== native tests (g++, ASan + UBSan)"
  "$root/scripts/build.sh" native
  (cd "$root/build/native" && ctest --output-on-failure -j "$(nproc)" -L native) || status=1
}

run_fuzz() {
  echo "== fuzz smoke (clang libFuzzer)"
  "$root/scripts/build.sh" fuzz
  (cd "$root/build/fuzz" && ctest --output-on-failure -j "$(nproc)" -L fuzz --no-tests=ignore) || status=1
}

run_win() {
  echo "== Windows tests under Wine"
  "$root/scripts/build.sh" win
  source "$root/scripts/wine-env.sh"
  quill_xvfb_start
  trap 'quill_wine_stop; quill_xvfb_stop' EXIT
  quill_wine_start
  (cd "$root/build/win" && ctest --output-on-failure -j1 -L win) || status=1
  quill_wine_stop
  quill_xvfb_stop
  trap - EXIT
}

for k in "${kinds[@]}"; do
  case $k in
    native) run_native ;;
    fuzz) run_fuzz ;;
    win) run_win ;;
    *) echo "test.sh: unknown kind '$k'" >&2; exit 2 ;;
  esac
done
if ((status)); then echo "== FAILED"; else echo "== all tests passed"; fi
exit $status
