#!/usr/bin/env bash
# A compressed job on a private virtual display: the input is chosen with "Change", the split
# button pressed, the LED blinks beside "Compressing data" (two screenshots of the lamp differ),
# the job ends with its statistics; then the merger file, carried to another folder, is run in
# its window, "Merge" pressed, and its message box ends a merge that gives the input back.
# Always on a private display of its own, never on the user's screen.
set -u
fennock=$1
. "$(dirname "$0")/../support/gui-session.sh"
require_tools xdotool import compare convert

export TMPDIR="$work/tmp"
mkdir -p "$TMPDIR" "$work/in" "$work/away"

# Text that takes the archiver a few seconds at level 9.
input="$work/in/numbers.txt"
seq 1 12000000 >"$input"

use_fltk_chooser "$work/home"

# The program starts in the input's folder, where its chooser opens.
cd "$work/in" || fail "no input folder"
# Starts a program on the display and prints its window; a start refused by a display that
# is busy with other clients is tried again.
launch() {  # program, log, window name pattern, variable for the pid
  local try id
  for try in 1 2 3; do
    "$1" >"$2" 2>&1 &
    printf -v "$4" '%s' "$!"
    id=$(wait_window "$3" 100) && { echo "$id"; return 0; }
    kill -0 "${!4}" 2>/dev/null && return 1
    grep -q "display" "$2" || return 1
    sleep 1
  done
  return 1
}
launch "$fennock" "$work/app.log" '^Fennock! 1\.0$' app_pid >"$work/main.id" ||
  fail "no main window: $(cat "$work/app.log")"
main=$(cat "$work/main.id")
sleep 0.5

choose_input "$main" "$(basename "$input")" || fail "no file chooser"
dialog=$(split_quietly "$main") || fail "no progress dialog"
# The lamp at 112, 80 of the dialog; its blink interval is 300 ms. A shot counts when the lamp
# is in it (it differs from the empty background below it); two such shots must differ.
timeout 3 import -window "$dialog" -crop 24x24+112+110 +repage "$work/background.png" 2>/dev/null
lamps=()
for i in $(seq 16); do
  shot="$work/lamp$i.png"
  # The dialog's window goes away when compressing ends: never wait on it for long.
  timeout 3 import -window "$dialog" -crop 24x24+112+80 +repage "$shot" 2>/dev/null || break
  d=$(compare -metric AE "$work/background.png" "$shot" null: 2>&1)
  [ "${d%% *}" != 0 ] && lamps+=("$shot")
  if [ "${#lamps[@]}" -ge 2 ]; then
    d=$(compare -metric AE "${lamps[0]}" "$shot" null: 2>&1)
    [ "${d%% *}" != 0 ] && break
  fi
  sleep 0.11
done
[ "${#lamps[@]}" -ge 2 ] || fail "the lamp was not seen while compressing"
blinked=no
for shot in "${lamps[@]}"; do
  d=$(compare -metric AE "${lamps[0]}" "$shot" null: 2>&1)
  [ "${d%% *}" != 0 ] && blinked=yes
done
[ "$blinked" = yes ] || fail "the LED did not blink (${#lamps[@]} shots of the lamp alike)"

# The job ends: the merger is written and the temporary archive is gone.
for _ in $(seq 600); do
  [ -e "$work/in/numbers.exe" ] && [ ! -e "${input}ztmp" ] && break
  sleep 0.1
done
[ -e "$work/in/numbers.exe" ] || fail "no merger file: $(cat "$work/app.log")"
# OK at 120, 176 closes the dialog once the job has enabled it; then Exit ends the program.
# The dialog was hidden and shown again after compressing: it has a window of its own now.
for _ in $(seq 60); do
  dialog=$(xdotool search --onlyvisible --name '^Processing\.\.\.$' 2>/dev/null | head -n 1)
  [ -n "$dialog" ] || break
  xdotool mousemove --window "$dialog" 157 188 click 1 2>/dev/null
  sleep 0.5
done
xdotool search --onlyvisible --name '^Processing\.\.\.$' >/dev/null 2>&1 && fail "OK did not close the dialog"
for _ in $(seq 20); do
  kill -0 "$app_pid" 2>/dev/null || break
  xdotool mousemove --window "$main" 131 10 click 1 2>/dev/null
  sleep 0.5
done
kill -0 "$app_pid" 2>/dev/null && fail "Exit did not end the program"
wait "$app_pid"
app_pid=""
for f in "$work"/in/* "$TMPDIR"/*; do
  case "$f" in *PackLib*|*ztmp*) fail "left behind: $f" ;; esac
done

mv "$work"/in/numbers.exe "$work"/in/numbers*.frg "$work/away/"
launch "$work/away/numbers.exe" "$work/merger.log" '^Fennock!SFX$' merger_pid >"$work/merger.id" ||
  fail "no merger window: $(cat "$work/merger.log")"
merger=$(cat "$work/merger.id")
sleep 0.5
xdotool mousemove --window "$merger" 229 44 click 1
box=$(wait_window 'Fennock! M.*dulo SFX' 300) || fail "no message box after Merge"
sleep 0.3
timeout 3 import -window "$box" "$work/box.png" 2>/dev/null
xdotool key Return
for _ in $(seq 100); do kill -0 "$merger_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$merger_pid" 2>/dev/null && fail "the merger did not end after its message"
wait "$merger_pid"
status=$?
merger_pid=""
[ "$status" = 0 ] || fail "merger exit status $status: $(cat "$work/merger.log")"
cmp -s "$input" "$work/away/numbers.txt" || fail "merged file differs from the input"
for f in "$work"/away/* "$TMPDIR"/*; do
  case "$f" in *unpacklib*|*UnpackLib*|*.zip) fail "left behind: $f" ;; esac
done
echo "PASS"
