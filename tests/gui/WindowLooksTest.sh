#!/usr/bin/env bash
# Under a real window manager on a private display: what each window asks of the manager
# (frame functions and icons, dialog type, owner) as xprop reads it and as the manager grants
# it; the message boxes' place over their owner; and the unit list opening below its field.
# Screenshots go to $SHOTS when it names a folder.
set -u
if [ -z "${FENNOCK_ON_PRIVATE_DISPLAY:-}" ]; then
  exec bash "$(dirname "$0")/../support/with-xvfb" env FENNOCK_ON_PRIVATE_DISPLAY=1 bash "$0" "$@"
fi
fennock=$1
. "$(dirname "$0")/../support/gui-helpers.sh"
for tool in openbox xprop xdotool import convert compare; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

# No dot in the folder names: the program takes the text after the first dot as the extension,
# and ".jpg" keeps this job uncompressed and quick.
work=$(mktemp -d "${TMPDIR:-/tmp}/looksXXXXXX")
export TMPDIR="$work/tmp" HOME="$work/home"
mkdir -p "$TMPDIR" "$HOME" "$work/in"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  [ -n "${KEEP_WORK:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT
fail() {
  timeout 3 import -window root "$work/failed.png" 2>/dev/null
  [ -n "${SHOTS:-}" ] && cp "$work/failed.png" "$SHOTS/failed.png"
  echo "FAIL: $*"
  exit 1
}
shot() {  # name: the whole screen, kept in $SHOTS when set
  timeout 5 import -window root "$work/$1.png" 2>/dev/null || fail "no screenshot $1"
  [ -n "${SHOTS:-}" ] && cp "$work/$1.png" "$SHOTS/$1.png"
  return 0
}
gone() {  # window id: waits until it is unmapped
  for _ in $(seq 50); do
    xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
    xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable' || return 0
    sleep 0.1
  done
  return 1
}
# Motif hints as "functions decorations"; the manager's grants as a list of actions.
motif() { xprop -id "$1" _MOTIF_WM_HINTS | sed -n 's/.* = 0x3, \(0x[0-9a-f]*\), \(0x[0-9a-f]*\).*/\1 \2/p'; }
actions() {
  for _ in $(seq 30); do
    a=$(xprop -id "$1" _NET_WM_ALLOWED_ACTIONS 2>/dev/null)
    case "$a" in *ACTION_MOVE*) echo "$a"; return ;; esac
    sleep 0.1
  done
}
# What a window asks for (Motif frame functions and decorations, owner and dialog type), and
# what the manager grants of it: openbox honours the fixed size (no maximise) and the owner, but
# by its own policy keeps close and minimise whatever the Motif hints say, so those are read
# from the request only.
expect_window() {  # id, label, motif "functions decorations", owner id or -
  local m a t
  m=$(motif "$1")
  [ "$m" = "$3" ] || fail "$2: Motif hints '$m', expected '$3'"
  a=$(actions "$1")
  case "$a" in *ACTION_MOVE*) ;; *) fail "$2: the window manager does not manage it: $a" ;; esac
  case "$a" in *_NET_WM_ACTION_MAXIMIZE*) fail "$2 can be maximised: $a" ;; esac
  t=$(xprop -id "$1" WM_TRANSIENT_FOR _NET_WM_WINDOW_TYPE)
  if [ "$4" = - ]; then
    case "$t" in *"window id #"*) fail "$2 belongs to another window: $t" ;; esac
    return 0
  fi
  case "$t" in *"window id # $(printf '0x%x' "$4")"*) ;; *) fail "$2 is not a dialog of its owner: $t" ;; esac
  case "$t" in *_NET_WM_WINDOW_TYPE_DIALOG*) ;; *) fail "$2 is not a dialog: $t" ;; esac
  # Raising the owner leaves its dialog above it.
  xdotool windowraise "$4"
  sleep 0.3
  local stack
  stack=$(xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | tr ' ' '\n' | grep '^0x' |
    while read -r w; do printf '%d\n' "$w"; done)
  local below above
  below=$(echo "$stack" | grep -n "^$4\$" | cut -d: -f1)
  above=$(echo "$stack" | grep -n "^$1\$" | cut -d: -f1)
  [ -n "$below" ] && [ -n "$above" ] && [ "$above" -gt "$below" ] ||
    fail "$2 fell behind its owner: $stack"
}
geometry() {  # id: sets X, Y (the client area's place on the screen), WIDTH, HEIGHT
  local info
  info=$(xwininfo -id "$1")
  X=$(echo "$info" | sed -n 's/.*Absolute upper-left X: *//p')
  Y=$(echo "$info" | sed -n 's/.*Absolute upper-left Y: *//p')
  WIDTH=$(echo "$info" | sed -n 's/.*Width: *//p')
  HEIGHT=$(echo "$info" | sed -n 's/.*Height: *//p')
}
centred_on() {  # box id, owner id, label: the centres meet within a few pixels
  local bx by bw bh
  geometry "$1"
  bx=$X by=$Y bw=$WIDTH bh=$HEIGHT
  geometry "$2"
  local dx=$(((bx + bw / 2) - (X + WIDTH / 2))) dy=$(((by + bh / 2) - (Y + HEIGHT / 2)))
  [ "${dx#-}" -le 3 ] && [ "${dy#-}" -le 3 ] || fail "$3 is off its owner's centre by $dx,$dy"
}

openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "the window manager did not start"

input="$work/in/photo.jpg"
head -c 3000000 /dev/urandom >"$input"
cd "$work/in" || fail "no input folder"
use_fltk_file_chooser
"$fennock" >"$work/app.log" 2>&1 &
app_pid=$!
pids+=($app_pid)
main=$(wait_window '^Fennock! 1\.0$' 100) || fail "no main window: $(cat "$work/app.log")"
sleep 0.5
other_window() {  # name pattern, window to pass over: the first other one within 5 s
  local id
  for _ in $(seq 50); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -v "^$2\$" | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
choose_input() {  # "Change" of the input group, then the file's name in the chooser
  xdotool mousemove --window "$main" 397 48 click 1
  local chooser
  chooser=$(other_window '.' "$main") || fail "no file chooser"
  sleep 1
  xdotool windowactivate --sync "$chooser" 2>/dev/null || xdotool windowfocus "$chooser"
  sleep 0.3
  xdotool key ctrl+a
  xdotool type --delay 30 "$(basename "$input")"
  sleep 0.3
  xdotool key Return
  gone "$chooser" || fail "the file chooser stayed"
  sleep 0.5
}
choose_input
# Main window: system menu and minimise. Move 0x4, minimise 0x8, close 0x20; border 0x2,
# title 0x8, menu 0x10, minimise button 0x20.
expect_window "$main" "the main window" "0x2c 0x3a" -

# About box: no border icons, above the main window.
xdotool mousemove --window "$main" 97 10 click 1
sleep 0.5
xdotool mousemove --window "$main" 117 96 click 1
about=$(wait_window '^About Fennock!$' 50) || fail "no About box"
sleep 0.3
expect_window "$about" "the About box" "0x4 0xa" "$main"
xdotool mousemove --window "$about" 93 96 click 1
gone "$about" || fail "OK did not close the About box"

# The unit list opens below its field (152, 24 in the group at 8, 88, below the menu bar): the
# field keeps showing the chosen unit (its text, inside the focus frame) while the list shows
# beneath it.
sleep 0.3
geometry "$main"
field="34x12+$((X + 164))+$((Y + 136))"
below="57x30+$((X + 160))+$((Y + 155))"
shot closed-list
xdotool mousemove --window "$main" 180 142 click 1
sleep 0.7
shot unit-list-open
differs() {  # area: the number of pixels that differ between the two shots there
  convert "$work/closed-list.png" -crop "$1" +repage "$work/a.png"
  convert "$work/unit-list-open.png" -crop "$1" +repage "$work/b.png"
  d=$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1)
  echo "${d%% *}"
}
d=$(differs "$field")
[ "$d" = 0 ] || fail "the open list covers its field ($d pixels differ)"
d=$(differs "$below")
[ "$d" != 0 ] || fail "no list below the field"
xdotool key Escape
sleep 0.3

# An error in a handler: the input is gone when the split button is pressed. The box sits on
# the middle of the main window, as its dialog, with a close box (answering OK).
mv "$input" "$work/photo.keep"
# "Browse destination folder" off, so that the end opens nothing; the .EXE merger (8, 48 in
# the group at 232, 88), which an uncompressed job does not choose itself; the split button.
xdotool mousemove --window "$main" 30 276 click 1
sleep 0.3
xdotool mousemove --window "$main" 250 164 click 1
sleep 0.3
xdotool mousemove --window "$main" 229 312 click 1
box=$(other_window '^Fennock! 1\.0$' "$main")
[ -n "$box" ] || fail "no error box"
sleep 0.3
shot error-box
centred_on "$box" "$main" "the error box"
expect_window "$box" "the error box" "0x24 0x1a" "$main"
xdotool key Return
gone "$box" || fail "Enter did not answer the error box"

# The job itself: the progress dialog has no close box and belongs to the main window.
mv "$work/photo.keep" "$input"
xdotool mousemove --window "$main" 229 312 click 1
dialog=$(wait_window '^Processing\.\.\.$' 50) || fail "no progress dialog"
sleep 0.3
expect_window "$dialog" "the progress dialog" "0x4 0xa" "$main"
for _ in $(seq 100); do [ -e "$work/in/photo.exe" ] && break; sleep 0.1; done
sleep 0.5
xdotool mousemove --window "$dialog" 157 188 click 1
gone "$dialog" || fail "OK did not close the progress dialog"
xdotool mousemove --window "$main" 131 10 click 1
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "Exit did not end the program"

# The merger window: a system menu only. Its "Files merged" sits on its middle.
mv "$input" "$work/photo.orig"
"$work/in/photo.exe" >"$work/merger.log" 2>&1 &
merger_pid=$!
pids+=($merger_pid)
merger=$(wait_window '^Fennock!SFX$' 100) || fail "no merger window: $(cat "$work/merger.log")"
sleep 0.5
expect_window "$merger" "the merger window" "0x24 0x1a" -
xdotool mousemove --window "$merger" 229 44 click 1
box=$(wait_window 'Fennock! M.*dulo SFX' 100) || fail "no message box after Merge"
sleep 0.5
shot files-merged
centred_on "$box" "$merger" "\"Files merged\""
expect_window "$box" "\"Files merged\"" "0x24 0x1a" "$merger"
xdotool key Return
for _ in $(seq 50); do kill -0 "$merger_pid" 2>/dev/null || break; sleep 0.1; done
wait "$merger_pid" || fail "merger exit status $?: $(cat "$work/merger.log")"
cmp -s "$work/photo.orig" "$input" || fail "the merged file differs from the input"
echo "PASS"
