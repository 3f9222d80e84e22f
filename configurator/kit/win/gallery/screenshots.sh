#!/usr/bin/env bash
# Screenshots of the kit's gallery under Xvfb (DISPLAY set, Wine prefix running), kept in
# <out dir> for a look and to compare after a change: the gallery with a hovered button, with
# the drop-down and a second list open, with the profile list's menu, and the message box in
# English, German and French and as a name prompt; last the gallery and the German message box
# at 144 DPI (the prefix's setting is put back when the script ends, also on failure).
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
# 144 DPI: sizes, corners and fonts scale (the gallery is then larger than the test screen).
trap '"$QUILL_WINE" reg delete "HKCU\Control Panel\Desktop" /v LogPixels /f </dev/null >/dev/null 2>&1 || true' EXIT
"$QUILL_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f </dev/null >/dev/null 2>&1
quill_screenshot "$gallery" "$out" gallery_144dpi --combo || status=1
quill_screenshot "$gallery" "$out" message_de_144dpi --message de || status=1
exit $status
