# Sourced by the screenshot scripts (after wine-env.sh, DISPLAY set, Wine prefix running):
#   quill_screenshot <program.exe> <out dir> <name> [arguments...]
# starts the program with the arguments, waits (up to 30 s) for the line "shown" on its output,
# takes <out dir>/<name>.png of the whole screen with `import -window root` once the screen
# shows more than a few colours (Wine hands the drawing to the X server a moment after the
# program has painted; up to 10 s), and ends the program by its process id. Wine rarely fails to start a program at all (it ends without a
# word): such a start is made once more. Answers 1 when the program never said "shown".

quill__start_shown() {
  local program=$1 log=$2
  shift 2
  "$QUILL_WINE" "$program" "$@" >"$log" 2>&1 </dev/null &
  quill__shown_pid=$!
  for _ in $(seq 300); do
    grep -q shown "$log" && return 0
    kill -0 "$quill__shown_pid" 2>/dev/null || break
    sleep 0.1
  done
  grep -q shown "$log"
}

quill_screenshot() {
  local program=$1 out=$2 name=$3
  shift 3
  local log="$out/$name.log" status=0
  mkdir -p "$out"
  if ! quill__start_shown "$program" "$log" "$@"; then
    wait "$quill__shown_pid" 2>/dev/null || true
    if [ ! -s "$log" ]; then
      echo "$name: Wine ended the program before it started; starting it again" >&2
      quill__start_shown "$program" "$log" "$@" || true
    fi
  fi
  if grep -q shown "$log"; then
    local colours=0
    for _ in $(seq 100); do
      import -window root "$out/$name.png"
      colours=$(identify -format %k "$out/$name.png")
      ((colours > 16)) && break
      sleep 0.1
    done
    if ((colours > 16)); then
      echo "screenshot $out/$name.png"
    else
      echo "$name: the screen stayed empty" >&2
      status=1
    fi
  else
    echo "$name: the program did not show its window" >&2
    cat "$log" >&2
    status=1
  fi
  kill "$quill__shown_pid" 2>/dev/null || true
  wait "$quill__shown_pid" 2>/dev/null || true
  return $status
}

#   quill_screens <program.exe> <out dir> <prefix> <suffix> [arguments...]
# runs a program that puts up several screens one after the other: for each it prints
# "ready <name>" and waits for a line on its input; <out dir>/<prefix>_<name>_<suffix>.png is
# taken in between. Its output goes to <out dir>/screens_<prefix>_<suffix>.log.
quill_screens() {
  local program=$1 out=$2 prefix=$3 suffix=$4
  shift 4
  local fifo log pid
  fifo=$(mktemp -u /tmp/quill-screens.XXXXXX)
  mkfifo "$fifo"
  log=$out/screens_${prefix}_$suffix.log
  "$QUILL_WINE" "$program" "$@" <"$fifo" >"$log" 2>&1 &
  pid=$!
  exec 7>"$fifo"
  local taken=0
  for _ in $(seq 1200); do
    if [ "$(grep -c '^ready' "$log")" -gt "$taken" ]; then
      local name
      name=$(grep '^ready' "$log" | sed -n "$((taken + 1))p" | cut -d' ' -f2 | tr -d '\r')
      import -window root "$out/${prefix}_${name}_$suffix.png"
      echo "screenshot $out/${prefix}_${name}_$suffix.png"
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
