#!/usr/bin/env bash
# Times the merge of a 1 GiB split (64 MiB pieces, .EXE merger) by the merger file in terminal
# mode against `cat` of the same files, and reports the median time ratio:
# bench/merge.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}; runs=${2:-5}
work=$(mktemp -d "${TMPDIR:-/tmp}/fennock-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

cmake --build "$build" --target fennock >/dev/null
mkdir "$work/pieces"
head -c $((1 << 30)) /dev/urandom > "$work/input.bin"
"$build/src/app/fennock" split "$work/input.bin" --size 64 --unit Mbytes --merger exe \
    --no-compress --dest "$work/pieces" >/dev/null
rm "$work/input.bin"
merger="$work/pieces/input.exe"
mapfile -t files < <(ls "$work/pieces"/input*.frg | sort -V)
files=("$merger" "${files[@]}")
echo "split: ${#files[@]} files, merger image $(stat -c %s "$build/payloads/merger.img") bytes"
cat "${files[@]}" > /dev/null  # both sides start from a warm page cache

timed() { /usr/bin/time -f "%e" -o "$work/time" "$@" >/dev/null; cat "$work/time"; }

# The merged file starts at the head's end, which is not page-aligned; `cat` of the whole files
# writes page-aligned. The second peer writes the very same output as the merger: the merger
# file's data from the head's end, then the pieces.
head_size=$(( $(stat -c %s "$build/payloads/merger.img") + 524 ))

merge_times=(); cat_times=(); same_times=()
for ((i = 1; i <= runs; i++)); do
  # Each side starts with the previous output gone and written back, so neither pays for the
  # other's dirty pages.
  rm -rf "$work/out" && mkdir "$work/out" && sync
  merge_times+=("$(timed "$merger" --dest "$work/out")")
  rm -rf "$work/out" && mkdir "$work/out" && sync
  cat_times+=("$(timed bash -c 'out=$1; shift; cat "$@" > "$out"' _ "$work/out/input.bin" "${files[@]}")")
  rm -rf "$work/out" && mkdir "$work/out" && sync
  same_times+=("$(timed bash -c 'out=$1; skip=$2; first=$3; shift 3; { tail -c +$((skip + 1)) "$first"; cat "$@"; } > "$out"' _ "$work/out/input.bin" "$head_size" "${files[@]}")")
  echo "run $i: merger ${merge_times[-1]} s, cat ${cat_times[-1]} s, tail+cat ${same_times[-1]} s"
done
rm -rf "$work/out"

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
mm=$(median "${merge_times[@]}"); cm=$(median "${cat_times[@]}"); sm=$(median "${same_times[@]}")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.3f", a / b}'; }
echo "median: merger $mm s, cat $cm s, ratio $(ratio "$mm" "$cm") (target <= 1.25)"
echo "median: tail+cat of the same output $sm s, ratio $(ratio "$mm" "$sm")"
