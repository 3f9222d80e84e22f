#!/usr/bin/env bash
# Screenshots of the tray's displays under Xvfb (DISPLAY set, Wine prefix running), kept in
# <out dir> for a look: a profile display in English and in German, the X and Y DPI displays,
# and all three over a light backdrop.  Usage: screenshots.sh <osd_preview.exe> <out dir>
set -euo pipefail
preview=$1
out=$2
source "$(dirname "$0")/../../../scripts/wine-env.sh"
mkdir -p "$out"

shoot() {
  local name=$1
  shift
  local log="$out/$name.log" pid
  "$QUILL_WINE" "$preview" "$@" >"$log" 2>&1 </dev/null &
  pid=$!
  for _ in $(seq 300); do
    grep -q shown "$log" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  local status=0
  if grep -q shown "$log"; then
    import -window root "$out/$name.png"
    echo "screenshot $out/$name.png"
  else
    echo "$name: the preview did not show its displays" >&2
    cat "$log" >&2
    status=1
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  return $status
}

shoot profile_en profile Gaming
shoot profile_de profile "Große Übersicht"
shoot dpi_1600_800 dpi 1600 800
shoot both_backdrop --backdrop both Schießen 5600 400
