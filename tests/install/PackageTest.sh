#!/usr/bin/env bash
# Builds the .deb from a build folder, unpacks it with dpkg-deb into a private root (no
# installation on this machine) and checks what it holds: the program starts from there, and
# the menu entry, icon and documents lie where the desktop and the program look for them.
# Usage: PackageTest.sh BUILD_DIR. Exit 77 (skipped) where the Debian tools are missing.
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
            usr/share/fennock/manual/insup.htm usr/share/doc/fennock/copyright; do
  [ -f "$root/$file" ] || fail "missing /$file"
done
[ -x "$root/usr/bin/fennock" ] || fail "fennock is not executable"
# The Help menu looks for its documents in ../share/fennock from the program's folder.
[ -f "$root/usr/bin/../share/fennock/index.htm" ] || fail "documents not where the program looks"

# Started from another folder and with no display, as a fresh terminal would.
version=$(cd "$work" && env -u DISPLAY "$root/usr/bin/fennock" --version)
[ "$version" = "Fennock! 1.0" ] || fail "fennock --version printed '$version'"
echo "fennock --version: $version"

# Started from the root folder on a private display, the Help menu opens the installed documents:
# a stand-in xdg-open records what it is given.
if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
  mkdir -p "$work/bin"
  printf '#!/bin/sh\necho "$1" >>"%s"\n' "$work/opened" >"$work/bin/xdg-open"
  chmod +x "$work/bin/xdg-open"
  for n in $(seq 161 230); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    [ -e "/tmp/.X11-unix/X$n" ] && break
    kill "$xvfb_pid" 2>/dev/null; xvfb_pid=""
  done
  if [ -n "${xvfb_pid:-}" ]; then
    trap 'kill "$app_pid" "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
    (cd / && DISPLAY=":$n" PATH="$work/bin:$PATH" exec "$root/usr/bin/fennock") &
    app_pid=$!
    window=""
    for _ in $(seq 100); do
      window=$(DISPLAY=":$n" xdotool search --name '^Fennock! 1\.0$' 2>/dev/null | head -n 1 || true)
      [ -n "$window" ] && break
      sleep 0.1
    done
    [ -n "$window" ] || fail "the unpacked program showed no window"
    sleep 0.5
    # "Help" is the menu bar's third entry; "Help index", "License", "Support" follow below it.
    for item_y in 31 51 71; do
      DISPLAY=":$n" xdotool mousemove --window "$window" 97 10 click 1
      sleep 0.4
      DISPLAY=":$n" xdotool mousemove --window "$window" 110 "$item_y" click 1
      sleep 0.4
    done
    for _ in $(seq 20); do [ "$(wc -l <"$work/opened" 2>/dev/null)" = 3 ] && break; sleep 0.1; done
    expected=$(printf '%s\n' "$root/usr/share/fennock/index.htm" \
      "$root/usr/share/fennock/license.txt" "$root/usr/share/fennock/manual/insup.htm")
    [ "$(cat "$work/opened" 2>/dev/null)" = "$expected" ] ||
      fail "the Help menu opened: $(cat "$work/opened" 2>/dev/null)"
    echo "Help menu opened the installed documents"
  fi
fi

entry="$root/usr/share/applications/fennock.desktop"
grep -qx 'Exec=fennock' "$entry" || fail "menu entry does not start fennock"
grep -qx 'Icon=fennock' "$entry" || fail "menu entry does not name the installed icon"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "menu entry does not validate"
fi
