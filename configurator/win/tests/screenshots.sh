#!/usr/bin/env bash
# Screenshots of QuillfernCfg under Xvfb: the reading box, the main dialog and the writing box,
# in English and in German, into <out dir> (build/win/screenshots unless told).
# Usage: configurator/win/tests/screenshots.sh [out dir]     (after scripts/build.sh win)
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
out=${1:-$root/build/win/screenshots}
bin=$root/build/win/bin
source "$root/scripts/wine-env.sh"
quill_xvfb_start
trap 'quill_wine_stop; quill_xvfb_stop' EXIT
quill_wine_start
mkdir -p "$out"
languages="Z:${root//\//\\}\\common\\languages\\"

shoot() {
  local suffix=$1
  shift
  local fifo log pid
  fifo=$(mktemp -u /tmp/cfg-screens.XXXXXX)
  mkfifo "$fifo"
  log=$out/screens_$suffix.log
  "$QUILL_WINE" "$bin/cfg_screens.exe" "$@" <"$fifo" >"$log" 2>&1 &
  pid=$!
  exec 7>"$fifo"
  local taken=0
  for _ in $(seq 1200); do
    if [ "$(grep -c '^ready' "$log")" -gt "$taken" ]; then
      local name
      name=$(grep '^ready' "$log" | sed -n "$((taken + 1))p" | cut -d' ' -f2 | tr -d '\r')
      import -window root "$out/cfg_${name}_$suffix.png"
      echo "screenshot $out/cfg_${name}_$suffix.png"
      taken=$((taken + 1))
      echo >&7
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  exec 7>&-
  wait "$pid" || true
  rm -f "$fifo"
}

shoot en
shoot de --language German.txt "$languages"
