#!/usr/bin/env bash
# The Options menu on a private virtual display: Alt+O and the entry's letter check "Write
# checksum file", a mouse click checks "Also write a shell-script merger", each choice is saved
# at once in the settings file, and a split from the window then writes both extra files.
# A screenshot of the open menu goes to $SHOTS when it names a folder.
set -u
fennock=$1
. "$(dirname "$0")/../support/gui-session.sh"
require_tools xdotool import

settings="$XDG_CONFIG_HOME/fennock/settings.ini"
mkdir -p "$work/in"
# ".jpg" keeps the job uncompressed and quick.
head -c 300000 /dev/urandom >"$work/in/photo.jpg"
use_fltk_chooser "$work/home"
cd "$work/in" || fail "no input folder"

start_main_window "$fennock"
[ -e "$settings" ] && fail "a settings file before any choice"

# Without a window manager the keys go to the window under the mouse: an empty place of it.
xdotool mousemove --window "$main" 4 325
sleep 0.2
xdotool key alt+o
sleep 0.5
xdotool key w
for _ in $(seq 30); do [ -e "$settings" ] && break; sleep 0.1; done
grep -qx 'checksums=true' "$settings" || fail "Alt+O, W saved: $(cat "$settings" 2>&1)"
grep -qx 'sh-merger=false' "$settings" || fail "the other entry saved: $(cat "$settings")"

# "Options" is the second entry of the bar; its second entry is the shell merger. The shot shows
# one entry checked and one not.
xdotool mousemove --window "$main" 55 10 click 1
sleep 0.5
timeout 5 import -window root "$work/options-menu.png" || fail "no screenshot"
[ -n "${SHOTS:-}" ] && cp "$work/options-menu.png" "$SHOTS/options-menu.png"
xdotool mousemove --window "$main" 90 51 click 1
for _ in $(seq 30); do grep -qx 'sh-merger=true' "$settings" && break; sleep 0.1; done
grep -qx 'sh-merger=true' "$settings" || fail "the click saved: $(cat "$settings")"
grep -qx 'checksums=true' "$settings" || fail "the click changed the other entry"


choose_input "$main" photo.jpg || fail "no file chooser"
split_quietly "$main" >/dev/null || fail "no progress dialog"
for _ in $(seq 300); do [ -e photo.sha256 ] && [ -e photo.sh ] && break; sleep 0.1; done
[ -e photo.sha256 ] || fail "no photo.sha256: $(ls) $(cat "$work/app.log")"
[ -e photo.sh ] || fail "no photo.sh: $(ls)"
sha256sum --quiet -c --ignore-missing photo.sha256 || fail "sha256sum refused photo.sha256"
echo "PASS"
