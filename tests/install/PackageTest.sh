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

entry="$root/usr/share/applications/fennock.desktop"
grep -qx 'Exec=fennock' "$entry" || fail "menu entry does not start fennock"
grep -qx 'Icon=fennock' "$entry" || fail "menu entry does not name the installed icon"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "menu entry does not validate"
fi
