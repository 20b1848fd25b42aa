#!/bin/bash
# Benchmark: listing a folder of 20,000 small picture files and sorting it by name, as the
# next-file command does, against `ls -f | sort` of the same folder in the same run.
# Usage: bench/bench-filelist.sh [runs]   (LUMORA_BUILD picks the build directory, default build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-7}
build=${LUMORA_BUILD:-$root/build}
work=${LUMORA_BENCH_DIR:-/tmp/lumora-bench}/folder-20000
tool="$build/bench/lumora_bench_filelist"
[ -x "$tool" ] || { cmake -S "$root" -B "$build" >/dev/null; make -C "$build" -j2 lumora_bench_filelist >/dev/null; }
if [ "$(ls -f "$work" 2>/dev/null | wc -l)" -lt 20002 ]; then
  mkdir -p "$work"
  ( cd "$work" && for i in $(seq 1 20000); do printf 'x' > "p$(( (i * 7919) % 20011 ))-$i.jpg"; done )
fi
ours=("$tool" "$work" 1)
ref=(sh -c "ls -f '$work' | sort > /dev/null")
seconds() { local s e; s=$(date +%s%N); "$@" >/dev/null 2>&1; e=$(date +%s%N); echo $(( (e - s) / 1000 )); }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
"${ours[@]}" >/dev/null 2>&1 || { echo "listing failed" >&2; exit 1; }
a=(); b=()
for ((i = 0; i < runs; i++)); do a+=("$(seconds "${ours[@]}")"); b+=("$(seconds "${ref[@]}")"); done
ma=$(printf '%s\n' "${a[@]}" | median); mb=$(printf '%s\n' "${b[@]}" | median)
printf 'list + sort 20000 files by name: lumora %.3f s, ls -f | sort %.3f s, ratio %.2f (median of %d)\n' \
  "$(echo "$ma / 1000000" | bc -l)" "$(echo "$mb / 1000000" | bc -l)" "$(echo "$ma / $mb" | bc -l)" "$runs"
