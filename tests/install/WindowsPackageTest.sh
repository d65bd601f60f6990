#!/usr/bin/env bash
# Builds the Windows packages from the cross build's folder and checks them: the portable ZIP
# holds the program with its documents and licence; the installer, run silently under Wine,
# puts them in place with a Start-menu entry, the installed program starts, and the
# uninstaller takes everything away again.
# Usage: WindowsPackageTest.sh BUILD_DIR WINE_RUN. Exit 77 (skipped) where a tool is missing.
set -euo pipefail
build=${1:?cross build folder}
wine_run=${2:?wine-run script}
for tool in cpack makensis unzip wine; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/fennock-winpackage-XXXXXX")
prefix="$build/wineprefix"
folder="fennock-package-test-$$"
installed="$prefix/drive_c/$folder"
menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Fennock"
trap 'rm -rf "$work" "$installed"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
wine() { "$wine_run" --prefix="$prefix" "$@" 2>>"$work/wine.log"; }

if ! cpack -G "ZIP;NSIS" --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1
then
  cat "$work/cpack.log" >&2
  fail "cpack could not build the packages"
fi
zip="$work/out/fennock-1.0-win64.zip"
installer="$work/out/fennock-1.0-win64.exe"
[ -f "$zip" ] && [ -f "$installer" ] || fail "expected both packages, found: $(ls "$work/out")"
echo "packages: $(basename "$zip") $(stat -c %s "$zip") bytes, $(basename "$installer") $(stat -c %s "$installer") bytes"

listing=$(unzip -Z1 "$zip")
for file in fennock.exe index.htm license.txt manual/insup.htm; do
  grep -qx "fennock-1.0-win64/$file" <<<"$listing" || fail "the ZIP lacks $file"
done
! grep -q 'DEVELOPING.md' <<<"$listing" || fail "the ZIP carries the developers' notes"
echo "portable ZIP: fennock.exe, the documents and the licence"

# The Start-menu entry is put where every user's menu is, so the test owns it only while it runs.
[ ! -e "$menu" ] || fail "a Start-menu entry of Fennock is already in the test prefix"
wine "$installer" /S "/D=C:\\$folder" || fail "the installer failed"
for file in fennock.exe index.htm license.txt manual/insup.htm Uninstall.exe; do
  [ -f "$installed/$file" ] || fail "the installer did not put $file in place"
done
[ -f "$menu/Fennock.lnk" ] || fail "no Start-menu entry: $(ls "$menu" 2>&1)"
cmp -s "$build/src/app/fennock.exe" "$installed/fennock.exe" || fail "the installed program differs"
version=$(wine "C:\\$folder\\fennock.exe" --version | tr -d '\r')
[ "$version" = "Fennock! 1.0" ] || fail "the installed fennock.exe --version printed '$version'"
echo "installed under Wine: program, documents, Start-menu entry; fennock.exe --version: $version"

# Run in place (_?=) the uninstaller waits for itself; it stays behind, as Windows' own does.
wine "C:\\$folder\\Uninstall.exe" /S "_?=C:\\$folder" || fail "the uninstaller failed"
left=$(cd "$installed" && find . -type f ! -name Uninstall.exe)
[ -z "$left" ] || fail "the uninstaller left: $left"
[ ! -e "$menu" ] || fail "the uninstaller left the Start-menu entry: $(ls "$menu")"
echo "uninstalled under Wine: nothing left but the uninstaller itself"
