// The shell merger's text. The script must run under every POSIX sh (dash, bash, busybox, the
// BSDs' sh), so it uses only POSIX tools and syntax; names enter it only as single-quoted words,
// never in comments or unquoted, so that no name can become code.
#include "job/ShellMerger.h"

namespace job {

namespace {

// Everything after the settings: checks, joins, verifies, renames. $1 $2 ... hold the pieces and
// their sizes. The temporary names start with ".fennock-" so that a later job of this program
// recognises them as leftovers.
const char* const kScriptBody = R"SH(
unset CDPATH
case $0 in */*) cd "${0%/*}/" || exit 1 ;; esac

fail() {
  printf '%s Nothing was merged.\n' "$*" >&2
  exit 1
}

sha256() {  # the checksum of file $1
  if command -v sha256sum >/dev/null 2>&1; then
    s=$(sha256sum < "$1") || return 1
  else
    s=$(shasum -a 256 < "$1") || return 1
  fi
  printf '%s\n' "${s%% *}"
}

next_listed() {  # want <- the next line's checksum in the checksum file (open as 3)
  line=
  IFS= read -r line <&3 || [ -n "$line" ] || fail "$sums does not list every piece."
  line=${line%"$cr"}
  line=${line%% *}
  want=${line#\\}
}

check() {  # every piece is here, whole and, with the checksum file, undamaged
  while [ $# -gt 0 ]; do
    [ -f "./$1" ] || fail "$1 is missing: send it again."
    size=$(wc -c < "./$1") || fail "$1 cannot be read."
    size=$((size))
    [ "$size" -ge "$2" ] || fail "$1 is short ($size of $2 bytes): send it again."
    [ "$size" -le "$2" ] || fail "$1 is too long ($size of $2 bytes): send it again."
    if [ -n "$verify" ]; then
      next_listed
      [ "$(sha256 "./$1")" = "$want" ] ||
        fail "$1 is damaged (its checksum differs): send it again."
    fi
    shift 2
  done
}

join() {  # the data of every piece, in order
  tail -c +$((head + 1)) "./$1" || return 1
  shift 2
  while [ $# -gt 0 ]; do
    cat "./$1" || return 1
    shift 2
  done
}

cr=$(printf '\r')
verify=
if [ -f "./$sums" ] && { command -v sha256sum || command -v shasum; } >/dev/null 2>&1; then
  verify=yes
  [ -r "./$sums" ] || fail "$sums cannot be read."
  exec 3< "./$sums"
fi
check "$@"
[ ! -d "./$out" ] || fail "$out is a folder; move it away first."

# Our own new file beside the output (noclobber: never an existing file, never through a link).
# The output's name is given only to a complete and checked result.
tmp=.fennock-sh-$$.tmp
dir=
(set -C && : > "./$tmp") 2>/dev/null || fail "No temporary file can be made here ($tmp)."
trap '[ -z "$tmp" ] || rm -f "./$tmp"; [ -z "$dir" ] || rm -rf "./$dir"' 0
trap 'exit 1' HUP INT TERM
join "$@" >> "./$tmp" || fail "The pieces could not be joined (is the disk full?)."
result=./$tmp

if [ -n "$archive" ]; then
  dir=.fennock-sh-$$.d
  mkdir "./$dir" || fail "No temporary folder can be made here ($dir)."
  if command -v unzip >/dev/null 2>&1; then
    unzip -qq "./$tmp" -d "./$dir" || fail "The joined archive cannot be extracted."
  elif command -v python3 >/dev/null 2>&1; then
    python3 -m zipfile -e "./$tmp" "./$dir" || fail "The joined archive cannot be extracted."
  else
    mv -f "./$tmp" "./$archive" || fail "$archive cannot be written."
    tmp=
    printf '%s\n' "Neither unzip nor python3 is here: the pieces were joined into $archive;" \
      "extract $out from it with any ZIP tool."
    exit 0
  fi
  result=
  for f in "./$dir"/* "./$dir"/.[!.]* "./$dir"/..?*; do
    [ ! -f "$f" ] || result=$f
  done
  [ -n "$result" ] || fail "The joined archive holds no file."
fi

if [ -n "$verify" ]; then
  next_listed
  # A compressed set's checksum may stand for the archive itself rather than its content.
  [ "$(sha256 "$result")" = "$want" ] || { [ -n "$archive" ] && [ "$(sha256 "./$tmp")" = "$want" ]; } ||
    fail "The joined file differs from the checksum in $sums."
fi
mv -f "$result" "./$out" || fail "$out cannot be written."
[ "$result" != "./$tmp" ] || tmp=
printf '%s\n' "Files merged"
)SH";

}  // namespace

std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string shellMergerScript(const ShellMergerSet& set) {
  std::string script =
      "#!/bin/sh\n"
      "# Joins the pieces of a file split by Fennock. Run it as: sh THIS-FILE\n"
      "# Every piece is checked first: its size, and its checksum when the checksum file and\n"
      "# sha256sum or shasum are here. The result gets the output's name only when all went\n"
      "# well; on any error nothing is written.\n\n";
  script += "out=" + shellQuoted(set.outputName) + "\n";
  script += "sums=" + shellQuoted(set.sumsName) + "\n";
  script += "archive=" + shellQuoted(set.archiveName) + "  # compressed sets only\n";
  script +=
      "head=" + std::to_string(set.headSize) + "  # bytes of the first piece before its data\n";
  script += "\n# Each piece and its size in bytes, in order.\nset --";
  for (const ShellMergerPiece& piece : set.pieces)
    script += " \\\n  " + shellQuoted(piece.name) + " " + std::to_string(piece.size);
  script += "\n";
  return script + kScriptBody;
}

}  // namespace job
