#!/usr/bin/env bash
# Files exported by the registered middleware under Wine, checked with the host's own tools:
# xmllint finds them well formed, and file and iconv see the encoding they claim, for a new
# file (UTF-8 with byte-order mark) and for one that was UTF-16LE before the export merged
# into it. A name with letters beyond ASCII travels in through an import and out again.
# Usage: exported_files_tools.sh <folder of QuillfernCli.exe and TorvoMiddlewareServer.dll>
set -uo pipefail
bin=$(cd "$1" && pwd)
scripts=$(cd "$(dirname "$0")/../../../scripts" && pwd)
wine_run=$scripts/wine-run
source "$scripts/wine-env.sh"
quill_wine_start

for tool in xmllint file iconv; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/setup.sh installs it)"; exit 1; }
done

work=$(mktemp -d /tmp/quill-export-tools.XXXXXX)
device_key='HKLM\Software\Torvo\TorvoControl_0C31'
server=$(quill_winpath "$bin/TorvoMiddlewareServer.dll")
failures=0

wine_quiet() { "$QUILL_WINE" "$@" </dev/null >/dev/null 2>&1; }
clear_store() { wine_quiet reg delete "$device_key" /f || true; }
cleanup() {
  clear_store
  wine_quiet regsvr32 /u /s "$server" || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# Runs the client through scripts/wine-run, which starts it once more when Wine failed to start
# it; stops the test when it fails, since every later step needs its result.
cli() {
  local output rc
  output=$("$wine_run" "$bin/QuillfernCli.exe" "$@" </dev/null 2>&1) && return 0
  rc=$?
  echo "QuillfernCli $* failed with $rc:"
  echo "$output"
  exit 1
}

expect_file_says() {  # path, text that `file -b` must print
  local said
  said=$(file -b "$1")
  [[ $said == *"$2"* ]] || fail "file says '$said' for $(basename "$1"), expected '$2'"
}

expect_well_formed() {
  local said
  said=$(xmllint --noout "$1" 2>&1) || fail "xmllint on $(basename "$1"): $said"
}

wine_quiet regsvr32 /s "$server" || { echo "regsvr32 of the middleware failed"; exit 1; }
clear_store

printf 'down LShift\ndown A\ndelay 50\nup A\nup LShift\nclick left\n' >"$work/greet.txt"
printf 'click right\ndelay 10\nclick middle\n' >"$work/spin.txt"
cli store save macro Greet "$(quill_winpath "$work/greet.txt")" --type keystroke --mode count --repeat 2
cli store save macro Spin "$(quill_winpath "$work/spin.txt")"
cli store save book Tools Greet Spin
cli store save action Launch 7 01 02 03
cli store save group Desk

# A new file: every kind of object merged into one export file.
new=$work/new.xml
for kind in macros books actions groups; do cli store export "$kind" "$(quill_winpath "$new")"; done
expect_well_formed "$new"
expect_file_says "$new" "UTF-8 (with BOM)"
expect_file_says "$new" "CRLF"
iconv -f UTF-8 -t UTF-16LE "$new" >/dev/null 2>&1 || fail "iconv finds $(basename "$new") not UTF-8"
for name in Greet Spin Tools Launch Desk; do
  grep -q "$name" "$new" || fail "$name is not in $(basename "$new")"
done

# A name beyond ASCII, brought in by importing an edited copy of the file.
sed 's/Greet/Gr\xc3\xbc\xc3\x9fe/g' "$new" >"$work/edited.xml"
clear_store
cli store import macros "$(quill_winpath "$work/edited.xml")"
again=$work/again.xml
cli store export macros "$(quill_winpath "$again")"
expect_well_formed "$again"
expect_file_says "$again" "UTF-8 (with BOM)"
grep -q $'Gr\xc3\xbc\xc3\x9fe' "$again" || fail "the imported name Grüße did not come out again"

# A file that was UTF-16LE stays UTF-16LE when an export merges into it.
utf16=$work/utf16.xml
printf '<?xml version="1.0" encoding="utf-16" ?>\r\n\r\n' | iconv -f UTF-8 -t UTF-16LE |
  { printf '\xff\xfe'; cat; } >"$utf16"
cli store export macros "$(quill_winpath "$utf16")"
expect_file_says "$utf16" "UTF-16, little-endian"
expect_well_formed "$utf16"
iconv -f UTF-16 -t UTF-8 "$utf16" >"$work/utf16-as-utf8.xml" 2>/dev/null || fail "iconv finds $(basename "$utf16") not UTF-16"
grep -q $'Gr\xc3\xbc\xc3\x9fe' "$work/utf16-as-utf8.xml" || fail "Grüße is not in $(basename "$utf16")"

if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "exported files: well formed, and in the encoding they claim"
