#!/usr/bin/env bash
# Screenshots of the tray's screens under Xvfb: the menu, the profile display and both DPI
# displays, in English and in German, into <out dir> (build/win/screenshots unless told).
# Usage: tray/win/tests/screenshots.sh [out dir]     (after scripts/build.sh win)
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
out=${1:-$root/build/win/screenshots}
bin=$root/build/win/bin
source "$root/scripts/wine-env.sh"
source "$root/scripts/screenshot.sh"
quill_xvfb_start
trap 'quill_wine_stop; quill_xvfb_stop' EXIT
quill_wine_start
mkdir -p "$out"
languages="Z:${root//\//\\}\\common\\languages\\"

shoot() {
  quill_screens "$bin/tray_screens.exe" "$out" tray "$@"
}

shoot en
shoot de --language German.txt "$languages"
