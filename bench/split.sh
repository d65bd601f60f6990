#!/usr/bin/env bash
# Times the split of a 1 GiB file into 64 MiB pieces against coreutils `split -b`, and reports
# the median time ratio and the job's peak memory: bench/split.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}; runs=${2:-5}
work=$(mktemp -d "${TMPDIR:-/tmp}/fennock-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

# The terminal front end when it is built, else a small driver around the same job.
if [ -x "$build/src/app/fennock" ] && "$build/src/app/fennock" --help 2>&1 | grep -q split; then
  run_job() { "$build/src/app/fennock" split "$1" --size 64 --unit Mbytes --merger bat --no-compress --dest "$2" >/dev/null; }
  echo "job: fennock split"
else
  cmake --build "$build" --target job >/dev/null
  g++ -std=c++20 -O2 -Isrc -Itests bench/split_driver.cpp "$build/src/job/libjob.a" \
      "$build/src/platform/libplatform.a" -o "$work/split_driver"
  run_job() { "$work/split_driver" "$1" "$2" 64 2; }
  echo "job: bench driver (the terminal front end is not built yet)"
fi

input="$work/input.bin"
head -c $((1 << 30)) /dev/urandom > "$input"
cat "$input" > /dev/null  # both sides start from a warm page cache

timed() {  # prints "seconds peak_kib"
  /usr/bin/time -f "%e %M" -o "$work/time" "$@"
  cat "$work/time"
}

job_times=(); split_times=(); peaks=()
for ((i = 1; i <= runs; i++)); do
  rm -rf "$work/out" && mkdir "$work/out"
  read -r t m < <(timed bash -c "$(declare -f run_job); build='$build'; work='$work'; run_job '$input' '$work/out'")
  job_times+=("$t"); peaks+=("$m")
  rm -rf "$work/out" && mkdir "$work/out"
  read -r t _ < <(timed split -b 64M "$input" "$work/out/piece")
  split_times+=("$t")
  echo "run $i: job ${job_times[-1]} s (peak ${peaks[-1]} KiB), split ${split_times[-1]} s"
done
rm -rf "$work/out"

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
jm=$(median "${job_times[@]}"); sm=$(median "${split_times[@]}"); pm=$(median "${peaks[@]}")
peak_max=$(printf '%s\n' "${peaks[@]}" | sort -g | tail -1)
echo "median: job $jm s, split $sm s, ratio $(awk -v a="$jm" -v b="$sm" 'BEGIN {printf "%.3f", a / b}') (target <= 1.10)"
echo "job peak memory: median $((pm / 1024)) MiB, max $((peak_max / 1024)) MiB (target <= 48 MiB)"
