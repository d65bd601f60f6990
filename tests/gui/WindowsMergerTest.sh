#!/usr/bin/env bash
# The Windows merger under Wine on a private display: its window shows with the merger's caption
# and client area, drawn by the system's controls, and "Merge" joins a two-piece set into the
# merger's folder from the keyboard, reports "Files merged" and ends with status 0.
# Usage: WindowsMergerTest.sh MERGER_EXE SET_MAKER
set -u
merger=$1
make_set=$2
. "$(dirname "$0")/../support/gui-session.sh"
require_tools xdotool import convert wine wineserver
# A prefix of its own: made on first use (the slow part), removed with the scratch folder.
export WINEPREFIX="$work/wine" WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null; cleanup' EXIT

"$make_set" "$merger" "$work" || fail "cannot make the set"
wine "$work/Data.exe" >"$work/merger.log" 2>&1 &
merger_pid=$!
window=$(wait_window '^Fennock!SFX$' 1800) || fail "no merger window: $(cat "$work/merger.log")"
sleep 1

eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 268 ] && [ "$HEIGHT" = 100 ] || fail "client area is ${WIDTH}x${HEIGHT}"
import -window root "$work/shot.png" || fail "no screenshot"
[ -n "${FENNOCK_SHOT:-}" ] && convert "$work/shot.png" -crop 300x150+$((X - 16))+$((Y - 30)) "$FENNOCK_SHOT"
# Drawn: the button face grey of the form, not the black root.
mean=$(convert "$work/shot.png" -crop 268x100+"$X"+"$Y" -colorspace Gray -format '%[fx:mean]' info:)
awk -v m="$mean" 'BEGIN { exit !(m > 0.6 && m < 0.97) }' || fail "window area mean $mean"

# From "Destination", which has the focus at the start, Tab passes "Delete partial files when
# merged" and stops on "Merge"; Enter presses it.
xdotool windowfocus "$window"
sleep 0.3
xdotool key Tab Tab Return
done_box=$(wait_window '^Fennock! M' 300) || fail "no message after the merge: $(cat "$work/merger.log")"
cmp -s "$work/Data.txt" "$work/expected.txt" || fail "the merged file differs"
# The window grew for the progress bar while it merged.
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$HEIGHT" = 133 ] || fail "client area while merging is ${WIDTH}x${HEIGHT}"
xdotool windowfocus "$done_box"
sleep 0.3
xdotool key Return
timeout 10 tail --pid="$merger_pid" -f /dev/null || fail "the merger did not end after its message"
wait "$merger_pid"
status=$?
merger_pid=""
[ "$status" = 0 ] || fail "exit status $status"
echo "PASS"
