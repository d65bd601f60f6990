#!/usr/bin/env bash
# A disabled window refuses real input: while the About box is shown, clicks on the main
# window's Help menu, "Change" and "Exit" and the keys Alt+X and Alt+F do nothing; while a
# compressed job runs, a second press of the split button and File > Exit do nothing, and the
# job ends normally. Always on a private display of its own.
set -u
fennock=$1
. "$(dirname "$0")/../support/gui-session.sh"
require_tools xdotool import compare

export TMPDIR="$work/tmp"
mkdir -p "$TMPDIR" "$work/in"
alive() { kill -0 "$app_pid" 2>/dev/null; }
# The names of the visible windows, one a line, sorted.
windows() {
  xdotool search --onlyvisible --name '.' 2>/dev/null |
    while read -r id; do xdotool getwindowname "$id" 2>/dev/null; done | sort
}
# The main window's area, without the About box that lies over it.
shot_main() { import -window root -crop 130x329+191+112 +repage "$1"; }

# Text that takes the archiver a few seconds at level 9.
input="$work/in/numbers.txt"
seq 1 12000000 >"$input"
use_fltk_chooser "$work/home"
cd "$work/in" || fail "no input folder"

start_main_window "$fennock"
# Without a window manager the keys go to the window under the mouse.
xdotool mousemove --window "$main" 300 320
xdotool key alt+h
sleep 0.3
xdotool key a
about=$(wait_window '^About Fennock!$' 30) || fail "no About box"
sleep 0.3
before=$(windows)
shot_main "$work/before.png"

# "Change" (352, 16 in the group at 8, 0, below the 20-pixel menu bar), "Help", the top-level
# "Exit", and the same from the keyboard.
xdotool mousemove --window "$main" 397 48 click 1
sleep 0.5
xdotool mousemove --window "$main" 97 10 click 1
sleep 0.3
shot_main "$work/after.png"
d=$(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1)
[ "${d%% *}" = 0 ] || fail "the main window changed under the About box ($d pixels)"
xdotool mousemove --window "$main" 131 10 click 1
xdotool mousemove --window "$main" 300 320 key alt+x alt+f
sleep 0.5
alive || fail "the disabled main window's Exit ended the program"
[ "$(windows)" = "$before" ] || fail "windows opened: $(windows)"

# OK (56, 88) closes the box; the same click on "Change" now opens the chooser.
xdotool mousemove --window "$about" 93 96 click 1
sleep 0.3
choose_input "$main" "$(basename "$input")" || fail "no file chooser once the About box was closed"
split_quietly "$main" >/dev/null || fail "no progress dialog"
sleep 0.3
# While compressing: the split button again, then File and its "Exit".
xdotool mousemove --window "$main" 229 312 click 1
sleep 0.2
xdotool mousemove --window "$main" 25 10 click 1
sleep 0.3
xdotool mousemove --window "$main" 20 51 click 1
sleep 0.5
# The temporary archive in its private folder (a hidden name) shows the job still compressing.
{ compgen -G "$TMPDIR/fennock-zip-*/*" || compgen -G "$TMPDIR/fennock-zip-*/.[!.]*"; } >/dev/null ||
  fail "the job was no longer compressing: the test proves nothing"
alive || fail "File > Exit ended the program during the job"

for _ in $(seq 600); do
  [ -e "$work/in/numbers.exe" ] && ! compgen -G "$TMPDIR/fennock-zip-*" >/dev/null && break
  sleep 0.1
done
[ -e "$work/in/numbers.exe" ] || fail "no merger file: $(cat "$work/app.log")"
sleep 0.5
expected=$(printf '%s\n' 'Fennock! 1.0' 'Processing...')
[ "$(windows)" = "$expected" ] || fail "windows at the end of the job: $(windows)"
alive || fail "the program ended during the job"
echo "PASS"
