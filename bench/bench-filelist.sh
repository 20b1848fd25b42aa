#!/bin/bash
# Benchmark: listing a folder of 20,000 small picture files and sorting it by name, as the
# next-file command does, against `ls -f | sort` of the same folder in the same run.
# Usage: bench/bench-filelist.sh [runs]   (LUMORA_BUILD picks the build directory, default build/)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
bench_init
runs=${1:-7}
tool=$(bench_tool lumora_bench_filelist)
folder="$work/folder-20000"
if [ "$(ls -f "$folder" 2>/dev/null | wc -l)" -lt 20002 ]; then
  mkdir -p "$folder"
  ( cd "$folder" && for i in $(seq 1 20000); do printf 'x' > "p$(( (i * 7919) % 20011 ))-$i.jpg"; done )
fi
ours=("$tool" "$folder" 1)
ref=(sh -c "ls -f '$folder' | sort > /dev/null")
bench_check "${ours[@]}"
a=(); b=()
for ((i = 0; i < runs; i++)); do a+=("$(bench_seconds "${ours[@]}")"); b+=("$(bench_seconds "${ref[@]}")"); done
ma=$(bench_median "${a[@]}"); mb=$(bench_median "${b[@]}")
printf 'list + sort 20000 files by name: lumora %s s, ls -f | sort %s s, ratio %s (median of %d)\n' \
  "$(bench_secs "$ma")" "$(bench_secs "$mb")" "$(bench_ratio "$ma" "$mb")" "$runs"
