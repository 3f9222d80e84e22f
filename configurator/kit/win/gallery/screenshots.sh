#!/usr/bin/env bash
# Screenshots of the kit's gallery under Xvfb (DISPLAY set, Wine prefix running), kept in
# <out dir> for a look and to compare after a change: the gallery with a hovered button, with
# the drop-down and a second list open, with the profile list's menu, and the
# message box in English, German and French and as a name prompt.
# Usage: screenshots.sh <kit_gallery.exe> <out dir>
set -euo pipefail
gallery=$1
out=$2
source "$(dirname "$0")/../../../../scripts/wine-env.sh"
mkdir -p "$out"

# Starts the gallery in the background and waits for its "shown" line. Wine rarely fails to
# start a program at all (it ends without a word): such a start is made once more.
start_gallery() {
  local log=$1
  shift
  "$QUILL_WINE" "$gallery" "$@" >"$log" 2>&1 </dev/null &
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
  if ! start_gallery "$log" "$@"; then
    wait "$pid" 2>/dev/null || true
    if [ ! -s "$log" ]; then
      echo "$name: Wine ended the gallery before it started; starting it again" >&2
      start_gallery "$log" "$@" || true
    fi
  fi
  if grep -q shown "$log"; then
    import -window root "$out/$name.png"
    echo "screenshot $out/$name.png"
  else
    echo "$name: the gallery did not show" >&2
    cat "$log" >&2
    status=1
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  return $status
}

shoot gallery --hover
shoot combo --combo
shoot menu --menu
shoot message_en --message en
shoot message_de --message de
shoot message_fr --message fr
shoot message_prompt --message prompt
