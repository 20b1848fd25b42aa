#!/bin/bash
# Benchmark: loading a 4000x3000 24-bit BMP into the current image (the real loading
# pipeline, natively) against ImageMagick decoding the same file, run alternately in the
# same command. Prints each median and the ratio ours / reference (below 1 = faster).
# Usage: bench/bench-load-bmp.sh [runs]   (builds build/ first if needed)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-7}
work=${LUMORA_BENCH_DIR:-/tmp/lumora-bench}
mkdir -p "$work"
[ -x "$root/build/bench/lumora_bench_load" ] || { cmake -S "$root" -B "$root/build" >/dev/null; make -C "$root/build" -j2 lumora_bench_load >/dev/null; }
export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1
pic="$work/load-4000x3000.bmp"
if [ ! -s "$pic" ]; then
  # Deterministic photo-like content: seeded plasma.
  /usr/bin/convert -seed 42 -size 4000x3000 plasma:fractal -type TrueColor "bmp3:$pic"
fi
ours=("$root/build/bench/lumora_bench_load" "$pic")
ref=(/usr/bin/convert "$pic" ppm:/dev/null)
seconds() { local s e; s=$(date +%s%N); "$@" >/dev/null 2>&1; e=$(date +%s%N); echo $(( (e - s) / 1000 )); }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
"${ours[@]}" >/dev/null 2>&1 || { echo "our loader failed on $pic" >&2; exit 1; }
a=(); b=()
for ((i = 0; i < runs; i++)); do a+=("$(seconds "${ours[@]}")"); b+=("$(seconds "${ref[@]}")"); done
ma=$(printf '%s\n' "${a[@]}" | median); mb=$(printf '%s\n' "${b[@]}" | median)
printf 'load 4000x3000x24 BMP: lumora %.3f s, convert %.3f s, ratio %.2f (median of %d)\n' \
  "$(echo "$ma / 1000000" | bc -l)" "$(echo "$mb / 1000000" | bc -l)" "$(echo "$ma / $mb" | bc -l)" "$runs"
