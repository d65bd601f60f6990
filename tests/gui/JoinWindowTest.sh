#!/usr/bin/env bash
# Joining in the main program on a private virtual display: "fennock FILE" chooses FILE as the
# input (the split button then splits it), a set's piece given so is offered for joining, and
# File, "Join pieces..." opens the merger's window, whose "Merge" joins the set and leaves the
# main window running. Screenshots go to $FENNOCK_SHOTS when it is set.
set -u
fennock=$1
. "$(dirname "$0")/../support/gui-session.sh"
require_tools xdotool import cmp

export TMPDIR="$work/tmp"
mkdir -p "$TMPDIR" "$work/in" "$work/set"
use_fltk_chooser "$work/home"
shots=${FENNOCK_SHOTS:-$work}
head -c 300000 /dev/urandom >"$work/set/video.bin"
(cd "$work/set" && "$fennock" split video.bin --merger bat --no-compress --size 100 \
  --unit Kbytes >/dev/null) || fail "no set to join"
mv "$work/set/video.bin" "$work/original.bin"
printf 'some notes\n' >"$work/in/notes.txt"

# Starts the program; its main window's id goes to `main`.
start() {  # log, arguments...
  local log=$1
  shift
  "$fennock" "$@" >"$log" 2>&1 &
  app_pid=$!
  main=$(wait_window '^Fennock! 1\.0$' 100) || fail "no main window: $(cat "$log")"
}
# Prints the first visible window titled like the main window that is not it (a message box).
wait_box() {
  local id=""
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name '^Fennock! 1\.0$' 2>/dev/null | grep -v "^$main\$" |
      head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
quit() {
  kill "$app_pid" 2>/dev/null
  wait "$app_pid" 2>/dev/null
  app_pid=""
}

# A plain file: chosen as the input, so that the split button splits it at once.
start "$work/notes.log" "$work/in/notes.txt"
sleep 0.5
timeout 3 import -window "$main" "$shots/join-file-chosen.png" 2>/dev/null
dialog=$(split_quietly "$main") || fail "the split button did nothing: $(cat "$work/notes.log")"
# Text is compressed, which takes the .EXE merger: notes.exe is the set of FILE.
for _ in $(seq 100); do [ -e "$work/in/notes.exe" ] && break; sleep 0.1; done
[ -e "$work/in/notes.exe" ] || fail "FILE was not the chosen input: $(ls "$work/in")"
quit

# A piece: the program offers to join its set; "Yes" opens the merger's window for it.
start "$work/piece.log" "$work/set/video2.frg"
box=$(wait_box) || fail "no offer to join the set"
sleep 0.3
timeout 3 import -window "$box" "$shots/join-offer.png" 2>/dev/null
xdotool windowfocus "$box"
xdotool key Return
merger=$(wait_window '^Fennock!SFX$' 50) || fail "Yes did not open the merger's window"
quit

# File, "Join pieces...": the chooser (in the set's folder, where the program starts), then the
# merger's window; "Merge" joins the set.
cd "$work/set" || fail "no set folder"
start "$work/menu.log"
sleep 0.5
xdotool windowfocus "$main"
xdotool key alt+f j
chooser=""
for _ in $(seq 100); do
  chooser=$(xdotool search --onlyvisible --name '.' 2>/dev/null | grep -v "^$main\$" | tail -n 1)
  [ -n "$chooser" ] && break
  sleep 0.1
done
[ -n "$chooser" ] || fail "Join pieces... opened no chooser"
sleep 1
xdotool windowfocus "$chooser"
xdotool key ctrl+a
xdotool type --delay 30 video.bat
xdotool key Return
merger=$(wait_window '^Fennock!SFX$' 50) || fail "no merger window: $(cat "$work/menu.log")"
sleep 0.5
timeout 3 import -window root "$shots/join-menu-window.png" 2>/dev/null
xdotool mousemove --window "$merger" 229 44 click 1
box=$(wait_box) || fail "no message after Merge: $(cat "$work/menu.log")"
sleep 0.3
timeout 3 import -window root "$shots/join-merged.png" 2>/dev/null
xdotool windowfocus "$box"
xdotool key Return
sleep 0.5
kill -0 "$app_pid" 2>/dev/null || fail "the merge ended the main program"
cmp -s "$work/original.bin" "$work/set/video.bin" || fail "the joined file differs"
xdotool search --onlyvisible --name '^Fennock!SFX$' >/dev/null 2>&1 &&
  fail "the merger's window stayed after its merge"
quit
echo "PASS"
