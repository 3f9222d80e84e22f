#!/usr/bin/env bash
# Screenshots of the tray's displays under Xvfb (DISPLAY set, Wine prefix running), kept in
# <out dir> for a look: a profile display in English and in German, one with a name too long
# for the screen, the X and Y DPI displays, and all three over a light backdrop.  Usage: screenshots.sh <osd_preview.exe> <out dir>
set -euo pipefail
preview=$1
out=$2
source "$(dirname "$0")/../../../scripts/wine-env.sh"
mkdir -p "$out"

source "$(dirname "$0")/../../../scripts/screenshot.sh"

shoot() {
  local name=$1
  shift
  quill_screenshot "$preview" "$out" "$name" "$@"
}

shoot profile_en profile Gaming
shoot profile_de profile "Große Übersicht"
shoot profile_long both "Sehr langer Profilname für das Spielen mit Überlänge und noch mehr Text dahinter, bis die Zeile nicht mehr passt" 1600 800
shoot dpi_1600_800 dpi 1600 800
shoot both_backdrop --backdrop both Schießen 5600 400
