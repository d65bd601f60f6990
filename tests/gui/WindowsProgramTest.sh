#!/usr/bin/env bash
# fennock.exe under Wine, from a terminal. It answers there (--version, an unknown command's
# status 2) and joins sets that the Linux fennock made, for either system (a compressed Linux
# set with its own unarchiver library), to the very bytes that were split. Its split writes a
# Windows merger (plain and compressed) that joins under Wine, a Linux one and a .BAT set that
# join on Linux.
# Usage: WindowsProgramTest.sh FENNOCK FENNOCK_EXE
set -u
fennock=$1
fennock_exe=$2
. "$(dirname "$0")/../support/gui-session.sh"
require_tools python3
use_private_wine

exe() {  # arguments...; fennock.exe's status is the function's, its output in $work/exe.log
  timeout 300 wine "$fennock_exe" "$@" >"$work/exe.log" 2>&1
}

# Random bytes and text that compresses: 3.5 MB in pieces of 1 Mbytes.
mkdir -p "$work/in"
python3 -c 'import random, sys
r = random.Random(11)
sys.stdout.buffer.write(r.randbytes(1500000) + b"".join(b"row %d\r\n" % i for i in range(250000)))' \
  >"$work/in/Data.bin"

exe --version || fail "--version: status $?: $(cat "$work/exe.log")"
grep -q '^Fennock! 1.0' "$work/exe.log" || fail "--version printed: $(cat "$work/exe.log")"
exe frobnicate
[ $? = 2 ] || fail "an unknown command did not end with status 2"
grep -q "Unknown command 'frobnicate'" "$work/exe.log" || fail "unknown command: $(cat "$work/exe.log")"

# Sets of the Linux program, joined by fennock.exe in a folder of their own. The Windows set is
# named outside the ANSI code page, which fennock.exe's narrow arguments cannot carry.
ln "$work/in/Data.bin" "$work/in/Ωmega видео.bin"
for set in "Ωmega видео|windows --no-compress --merger exe" "Data|linux --compress" \
  "Data|linux --no-compress --merger bat"; do
  base=${set%%|*}
  options=${set#*|}
  name=${options// /}
  mkdir -p "$work/$name" "$work/$name.out"
  # shellcheck disable=SC2086 # the options are words
  "$fennock" split "$work/in/$base.bin" --dest "$work/$name" --size 1 --unit Mbytes \
    --merger-for $options >"$work/split.log" 2>&1 || fail "split $name: $(cat "$work/split.log")"
  member=$base.exe
  [ -e "$work/$name/$base.bat" ] && member=$base.bat
  exe join "$(win "$work/$name/$member")" --dest "$(win "$work/$name.out")" || fail "join $name: $(cat "$work/exe.log")"
  cmp -s "$work/$name.out/$base.bin" "$work/in/Data.bin" || fail "join $name: other bytes"
done

# The split, through the main window's job.
exe split --help || fail "split --help: status $?: $(cat "$work/exe.log")"
split_exe() {  # folder, options...
  local folder=$1
  shift
  mkdir -p "$work/$folder"
  exe split "$(win "$work/in/Data.bin")" --dest "$(win "$work/$folder")" --size 1 --unit Mbytes "$@" ||
    fail "fennock.exe split $folder: $(cat "$work/exe.log")"
}
split_exe plain --no-compress --merger exe
[ "$(head -c 2 "$work/plain/Data.exe")" = MZ ] || fail "the default merger is no Windows program"
(cd "$work/plain" && timeout 120 wine Data.exe --dest . >"$work/merge.log" 2>&1) ||
  fail "the Windows merger: $(cat "$work/merge.log")"
cmp -s "$work/plain/Data.bin" "$work/in/Data.bin" || fail "the Windows merger joined other bytes"
# Compressed: the archiver library that fennock.exe carries packs, the merger unpacks.
split_exe packed --compress --merger exe
(cd "$work/packed" && timeout 120 wine Data.exe --dest . >"$work/merge.log" 2>&1) ||
  fail "the compressed Windows merger: $(cat "$work/merge.log")"
cmp -s "$work/packed/Data.bin" "$work/in/Data.bin" || fail "the compressed set joined other bytes"
split_exe linux --no-compress --merger exe --merger-for linux
(cd "$work/linux" && ./Data.exe --dest . >"$work/merge.log" 2>&1) ||
  fail "the Linux merger: $(cat "$work/merge.log")"
cmp -s "$work/linux/Data.bin" "$work/in/Data.bin" || fail "the Linux merger joined other bytes"
split_exe bat --no-compress --merger bat
"$fennock" join "$work/bat/Data.bat" >"$work/merge.log" 2>&1 || fail "join the .BAT set: $(cat "$work/merge.log")"
cmp -s "$work/bat/Data.bin" "$work/in/Data.bin" || fail "the .BAT set joined other bytes"
echo "PASS"
