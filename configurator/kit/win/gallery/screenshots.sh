#!/usr/bin/env bash
# Screenshots of the kit's gallery under Xvfb (DISPLAY set, Wine prefix running), kept in
# <out dir> for a look and to compare after a change: the gallery with a hovered button, with
# the drop-down and a second list open, with the profile list's menu, and the message box in
# English, German and French and as a name prompt.
# Usage: screenshots.sh <kit_gallery.exe> <out dir>
set -euo pipefail
gallery=$1
out=$2
root="$(dirname "$0")/../../../.."
source "$root/scripts/wine-env.sh"
source "$root/scripts/screenshot.sh"

status=0
quill_screenshot "$gallery" "$out" gallery --hover || status=1
quill_screenshot "$gallery" "$out" combo --combo || status=1
quill_screenshot "$gallery" "$out" menu --menu || status=1
for language in en de fr prompt; do
  quill_screenshot "$gallery" "$out" "message_$language" --message "$language" || status=1
done
exit $status
