#!/usr/bin/env bash
# Screenshots of the tray's displays under Xvfb (DISPLAY set, Wine prefix running), kept in
# <out dir> for a look: a profile display in English and in German, one with a name too long
# for the screen, the X and Y DPI displays, and all three over a light backdrop.  Usage: screenshots.sh <osd_preview.exe> <out dir>
set -euo pipefail
preview=$1
out=$2
source "$(dirname "$0")/../../../scripts/wine-env.sh"
mkdir -p "$out"

# Starts the preview in the background and waits for its "shown" line. Wine rarely fails to
# start a program at all (it ends without a word): such a start is made once more.
start_preview() {
  local log=$1
  shift
  "$QUILL_WINE" "$preview" "$@" >"$log" 2>&1 </dev/null &
  pid=$!
  for _ in $(seq 300); do
    grep -q shown "$log" && return 0
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  grep -q shown "$log"
}

shoot() {
  local name=$1
  shift
  local log="$out/$name.log" status=0
  if ! start_preview "$log" "$@"; then
    wait "$pid" 2>/dev/null || true
    if [ ! -s "$log" ]; then
      echo "$name: Wine ended the preview before it started; starting it again" >&2
      start_preview "$log" "$@" || true
    fi
  fi
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
shoot profile_long both "Sehr langer Profilname für das Spielen mit Überlänge und noch mehr Text dahinter, bis die Zeile nicht mehr passt" 1600 800
shoot dpi_1600_800 dpi 1600 800
shoot both_backdrop --backdrop both Schießen 5600 400
