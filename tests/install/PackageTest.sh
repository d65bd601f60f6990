#!/usr/bin/env bash
# Builds the .deb from a build folder, unpacks it with dpkg-deb into a private root (no
# installation on this machine) and checks what it holds: the program starts from there; the
# menu entry, icon, documents, file types, manual pages and completion lie where the desktop and
# the program look for them, and each is read by the tool that reads it on a user's machine.
# Usage: [with-xvfb] PackageTest.sh BUILD_DIR. Exit 77 (skipped) where the Debian tools are
# missing.
set -euo pipefail
build=${1:?build folder}
for tool in cpack dpkg-deb; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/fennock-package-XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack could not build the package"
fi
debs=("$work"/out/fennock_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one fennock_*.deb, found: ${debs[*]}"
deb=${debs[0]}
echo "package: $(basename "$deb")"

[ "$(dpkg-deb -f "$deb" Package)" = fennock ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = 1.0 ] || fail "version"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libfltk1.3 zlib1g libx11-6; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
for file in usr/bin/fennock \
            usr/share/applications/fennock.desktop \
            usr/share/icons/hicolor/48x48/apps/fennock.png \
            usr/share/icons/hicolor/scalable/apps/fennock.svg \
            usr/share/fennock/index.htm usr/share/fennock/license.txt \
            usr/share/fennock/manual/insup.htm usr/share/doc/fennock/copyright \
            usr/share/mime/packages/fennock.xml \
            usr/share/man/man1/fennock.1 usr/share/man/man1/fennock-merger.1 \
            usr/share/bash-completion/completions/fennock; do
  [ -f "$root/$file" ] || fail "missing /$file"
done
[ -x "$root/usr/bin/fennock" ] || fail "fennock is not executable"
# The Help menu looks for its documents in ../share/fennock from the program's folder.
[ -f "$root/usr/bin/../share/fennock/index.htm" ] || fail "documents not where the program looks"

# Started from another folder and with no display, as a fresh terminal would.
version=$(cd "$work" && env -u DISPLAY "$root/usr/bin/fennock" --version)
[ "$version" = "Fennock! 1.0" ] || fail "fennock --version printed '$version'"
echo "fennock --version: $version"

# Started from the root folder on the private display that the test runs on (tests/support/
# with-xvfb), the Help menu opens the installed documents: a stand-in xdg-open records what it
# is given.
if [ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null; then
  mkdir -p "$work/bin"
  printf '#!/bin/sh\necho "$1" >>"%s"\n' "$work/opened" >"$work/bin/xdg-open"
  chmod +x "$work/bin/xdg-open"
  (cd / && PATH="$work/bin:$PATH" exec "$root/usr/bin/fennock" 2>"$work/app.log") &
  app_pid=$!
  trap 'kill "$app_pid" 2>/dev/null; rm -rf "$work"' EXIT
  # A loaded machine (the suite runs beside this test) can take many seconds to start the
  # program, open a menu or run xdg-open: each step is awaited up to a deadline that only
  # a hang reaches, never for a fixed time.
  wait_until() {  # CONDITION SECONDS
    local deadline=$((SECONDS + $2))
    until eval "$1"; do
      [ $SECONDS -lt $deadline ] || return 1
      kill -0 "$app_pid" 2>/dev/null || fail "the unpacked program ended: $(cat "$work/app.log")"
      sleep 0.1
    done
  }
  shown() {
    window=$(xdotool search --name '^Fennock! 1\.0$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] &&
      xwininfo -id "$window" 2>/dev/null | grep -q 'Map State: IsViewable'
  }
  visible_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }
  opened_count() { if [ -f "$work/opened" ]; then wc -l <"$work/opened"; else echo 0; fi; }
  wait_until shown 90 || fail "the unpacked program showed no window within 90 s"
  sleep 0.5
  windows=$(visible_windows)
  # "Help" is the menu bar's third entry; "Help index", "License", "Support" follow below it.
  opened=0
  for item_y in 31 51 71; do
    xdotool mousemove --window "$window" 97 10 click 1
    wait_until '[ "$(visible_windows)" -gt "$windows" ]' 30 || fail "the Help menu did not open"
    xdotool mousemove --window "$window" 110 "$item_y" click 1
    opened=$((opened + 1))
    wait_until '[ "$(opened_count)" -ge "$opened" ]' 30 ||
      fail "the Help menu's item $opened opened nothing"
    wait_until '[ "$(visible_windows)" -le "$windows" ]' 30 || fail "the Help menu stayed open"
  done
  expected=$(printf '%s\n' "$root/usr/share/fennock/index.htm" \
    "$root/usr/share/fennock/license.txt" "$root/usr/share/fennock/manual/insup.htm")
  [ "$(cat "$work/opened" 2>/dev/null)" = "$expected" ] ||
    fail "the Help menu opened: $(cat "$work/opened" 2>/dev/null)"
  echo "Help menu opened the installed documents"
else
  echo "not checked: the Help menu (no display, or xdotool is missing)"
fi

for tool in desktop-file-validate xmllint update-mime-database gio man; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup installs it)"
done

entry="$root/usr/share/applications/fennock.desktop"
grep -qx 'Exec=fennock %f' "$entry" || fail "menu entry does not start fennock on a file"
grep -qx 'Icon=fennock' "$entry" || fail "menu entry does not name the installed icon"
grep -qx 'MimeType=application/x-fennock-piece;application/x-fennock-checksums;' "$entry" ||
  fail "menu entry does not open the file types"
desktop-file-validate "$entry" || fail "menu entry does not validate"
echo "menu entry validates"

# The file types as a file manager sees them, from the package's database beside the system's.
xmllint --noout "$root/usr/share/mime/packages/fennock.xml" || fail "the MIME file is not XML"
# (It notes on stderr that the scratch root is not in the search path: only failure counts.)
update-mime-database "$root/usr/share/mime" >/dev/null 2>"$work/mime.log" ||
  { cat "$work/mime.log" >&2; fail "update-mime-database refused the MIME file"; }
# Sets of both layouts as the unpacked program writes them, and a checksum file of another's.
mkdir -p "$work/data-home" "$work/exe" "$work/bat"
head -c 3000 /dev/urandom >"$work/exe/holiday.mkv"
cp "$work/exe/holiday.mkv" "$work/bat/holiday.mkv"
for merger in exe bat; do
  "$root/usr/bin/fennock" split "$work/$merger/holiday.mkv" --count 3 --no-compress \
    --merger "$merger" --checksums >/dev/null || fail "the unpacked program could not split"
done
printf '%064d  debian.iso\n' 4 >"$work/other.sha256"
type_of() {
  XDG_DATA_HOME="$work/data-home" XDG_DATA_DIRS="$root/usr/share:/usr/share" GIO_USE_VFS=local \
    gio info -a standard::content-type "$work/$1" | sed -n 's/^ *standard::content-type: //p'
}
for expected in "bat/holiday1.frg application/x-fennock-piece" \
                "exe/holiday.sha256 application/x-fennock-checksums" \
                "bat/holiday.sha256 application/x-fennock-checksums" \
                "other.sha256 text/plain"; do
  file=${expected%% *}
  type=$(type_of "$file")
  [ "$type" = "${expected#* }" ] || fail "$file is seen as '$type', not ${expected#* }"
done
echo "file types: pieces and the set's checksum file are Fennock's, other .sha256 files are not"

for page in fennock.1 fennock-merger.1; do
  MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page" >"$work/page.txt" \
    2>"$work/page.err" || fail "man could not render $page"
  [ ! -s "$work/page.err" ] || { cat "$work/page.err" >&2; fail "$page renders with warnings"; }
  grep -q '^NAME' "$work/page.txt" || fail "$page rendered without its NAME section"
done
echo "manual pages render without warnings"
