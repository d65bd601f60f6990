#!/usr/bin/env bash
# The main window on a private virtual display: it appears titled "Fennock! 1.0" at its place
# and size, a screenshot shows it drawn, and the menu bar's own "Exit" ends it with status 0.
set -u
fennock=$1
. "$(dirname "$0")/../support/gui-session.sh"
require_tools xdotool import convert

"$fennock" >"$work/app.log" 2>&1 &
app_pid=$!

window=""
for _ in $(seq 100); do
  window=$(xdotool search --name '^Fennock! 1\.0$' 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  kill -0 "$app_pid" 2>/dev/null || fail "the program ended early: $(cat "$work/app.log")"
  sleep 0.1
done
[ -n "$window" ] || fail "no window titled 'Fennock! 1.0'"
sleep 0.5

# Place and size: 458 x 309 client area plus the 20-pixel menu bar, at 191, 112.
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 458 ] && [ "$HEIGHT" = 329 ] || fail "window is ${WIDTH}x${HEIGHT}"
[ "$X" = 191 ] && [ "$Y" = 112 ] || fail "window is at $X,$Y"

import -window root "$work/shot.png" || fail "no screenshot"
size=$(identify -format '%w %h' "$work/shot.png")
[ "$size" = "1024 768" ] || fail "screenshot is $size"
# The window is drawn: its area is the light button-face grey, not the black root.
mean=$(convert "$work/shot.png" -crop 458x329+191+112 -colorspace Gray -format '%[fx:mean]' info:)
awk -v m="$mean" 'BEGIN { exit !(m > 0.6 && m < 0.95) }' || fail "window area mean $mean"

# "Exit" is the last entry of the menu bar, after "File", "Options" and "Help".
xdotool mousemove --window "$window" 131 10 click 1
for _ in $(seq 50); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "the top-level Exit did not end the program"
wait "$app_pid"
status=$?
app_pid=""
[ "$status" = 0 ] || fail "exit status $status"
echo "PASS"
