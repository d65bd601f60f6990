#!/usr/bin/env bash
# The bash completion, sourced as bash-completion sources it: what it offers for typed prefixes.
# Usage: CompletionTest.sh COMPLETION. Exit 77 (skipped) without bash-completion.
set -euo pipefail
completion=$(realpath "${1:?completion file}")
framework=/usr/share/bash-completion/bash_completion
[ -f "$framework" ] || { echo "skipped: bash-completion is missing"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }

# File names complete too, so the completions are asked for in an empty folder.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/fennock-completion-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
set +eu  # bash-completion is written for interactive shells
source "$framework"
source "$completion"
complete -p fennock >/dev/null || fail "the file does not register a completion for fennock"

offered() {
  COMP_LINE=$1 COMP_POINT=${#1}
  read -ra COMP_WORDS <<<"$COMP_LINE"
  [[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _fennock fennock "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  echo "${COMPREPLY[*]}"
}
while IFS='|' read -r line expected; do
  got=$(offered "$line")
  [ "$got" = "$expected" ] || fail "'$line' completes to '$got', not '$expected'"
done <<'CASES'
fennock split --ch|--checksums
fennock j|join
fennock split FILE --unit K|Kbytes
fennock split FILE --merger |exe bat
fennock join FILE --d|--dest --delete-pieces
fennock --v|--version
CASES

echo "completions as expected"
