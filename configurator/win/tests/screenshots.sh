#!/usr/bin/env bash
# Screenshots of QuillfernCfg under Xvfb: the reading box, the main dialog and the writing box,
# in English and in German, into <out dir> (build/win/screenshots unless told).
# Usage: configurator/win/tests/screenshots.sh [out dir]     (after scripts/build.sh win)
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
  quill_screens "$bin/cfg_screens.exe" "$out" cfg "$@"
}

shoot en
shoot de --language German.txt "$languages"
