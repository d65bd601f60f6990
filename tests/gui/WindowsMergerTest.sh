#!/usr/bin/env bash
# The Linux fennock's mergers for Windows, under Wine on a private display. In the terminal a
# plain, a compressed and a checksummed set join to the very bytes that were split, and a damaged
# piece of a checksummed set is refused by name with nothing written; the shell merger and
# `fennock join` join a Windows set too. In the window (the merger's caption and client area,
# drawn by the system's controls) "Merge" joins a set from the keyboard, reports "Files merged"
# and ends with status 0.
# Usage: WindowsMergerTest.sh FENNOCK
set -u
fennock=$1
. "$(dirname "$0")/../support/gui-session.sh"
require_tools xdotool import convert python3
use_private_wine

# Random bytes (every byte value, so that a text mode shows) and text that compresses: 5 MB, cut
# in pieces of 3 Mbytes, so that each set has pieces beyond the merger file.
mkdir -p "$work/in"
python3 -c 'import random, sys
r = random.Random(7)
sys.stdout.buffer.write(r.randbytes(3000000) + b"".join(b"line %d\r\n" % i for i in range(200000)))' \
  >"$work/in/Data.bin"

split_for_windows() {  # folder, options...
  local folder=$1
  shift
  mkdir -p "$work/$folder"
  "$fennock" split "$work/in/Data.bin" --dest "$work/$folder" --size 3 --unit Mbytes \
    --merger-for windows "$@" >"$work/$folder.log" 2>&1 || fail "split $folder: $(cat "$work/$folder.log")"
  [ "$(head -c 2 "$work/$folder/Data.exe")" = MZ ] || fail "$folder: Data.exe is no Windows program"
  [ -e "$work/$folder/Data2.frg" ] || fail "$folder: no second piece"
}

merge_in_terminal() {  # folder [destination]; the merger's status is the function's
  (cd "$work/$1" && timeout 120 wine Data.exe --dest "${2:-.}" >"$work/$1.merge.log" 2>&1)
}

split_for_windows plain --no-compress --merger exe --sh-merger
split_for_windows compressed --compress
split_for_windows checked --compress --checksums
split_for_windows window --no-compress --merger exe

# The shell merger skips the Windows head as it skips the Linux one; the Linux program joins a
# Windows set with the Windows layout.
(cd "$work/plain" && sh Data.sh >"$work/plain.sh.log" 2>&1) || fail "Data.sh: $(cat "$work/plain.sh.log")"
cmp -s "$work/plain/Data.bin" "$work/in/Data.bin" || fail "Data.sh joined other bytes"
rm "$work/plain/Data.bin"
mkdir "$work/joined"
"$fennock" join "$work/compressed/Data.exe" --dest "$work/joined" >"$work/join.log" 2>&1 ||
  fail "fennock join: $(cat "$work/join.log")"
cmp -s "$work/joined/Data.bin" "$work/in/Data.bin" || fail "fennock join joined other bytes"

# The compressed set goes to a folder named outside the ANSI code page, which the merger's
# narrow arguments cannot carry.
mkdir "$work/compressed/Ωmega видео"
for folder in plain compressed checked; do
  dest=.
  [ $folder = compressed ] && dest="Ωmega видео"
  merge_in_terminal $folder "$dest" || fail "$folder: status $?: $(cat "$work/$folder.merge.log")"
  cmp -s "$work/$folder/$dest/Data.bin" "$work/in/Data.bin" || fail "$folder: the merged file differs"
done

# One byte of piece 2 changed, its length kept.
rm "$work/checked/Data.bin"
printf 'X' | dd of="$work/checked/Data2.frg" bs=1 seek=1000 conv=notrunc status=none
merge_in_terminal checked && fail "a damaged set was merged"
grep -q 'Data2\.frg' "$work/checked.merge.log" || fail "the damaged piece is not named: $(cat "$work/checked.merge.log")"
[ ! -e "$work/checked/Data.bin" ] || fail "a damaged set left its output"

wine "$work/window/Data.exe" >"$work/merger.log" 2>&1 &
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
done_box=$(wait_window '^Fennock! M' 600) || fail "no message after the merge: $(cat "$work/merger.log")"
cmp -s "$work/window/Data.bin" "$work/in/Data.bin" || fail "the merged file differs"
# The window grew for the progress bar while it merged.
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$HEIGHT" = 133 ] || fail "client area while merging is ${WIDTH}x${HEIGHT}"
xdotool windowfocus "$done_box"
sleep 0.3
xdotool key Return
expect_clean_exit merger_pid "the merger did not end after its message"
echo "PASS"
