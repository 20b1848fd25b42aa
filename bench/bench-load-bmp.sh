#!/bin/bash
# Benchmark: loading a 4000x3000 24-bit BMP into the current image (the real loading
# pipeline, natively) against ImageMagick decoding the same file, run alternately in the
# same command. Prints each median and the ratio ours / reference (below 1 = faster).
# Usage: bench/bench-load-bmp.sh [runs]   (LUMORA_BUILD picks the build directory, default build/)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
bench_init
runs=${1:-7}
tool=$(bench_tool lumora_bench_load)
pic="$work/load-4000x3000.bmp"
# Deterministic photo-like content: seeded plasma.
bench_plasma "$pic" "bmp3:$pic" 4000x3000 42 -type TrueColor
ours=("$tool" "$pic")
ref=(/usr/bin/convert "$pic" ppm:/dev/null)
bench_check "${ours[@]}"
a=(); b=()
for ((i = 0; i < runs; i++)); do a+=("$(bench_seconds "${ours[@]}")"); b+=("$(bench_seconds "${ref[@]}")"); done
ma=$(bench_median "${a[@]}"); mb=$(bench_median "${b[@]}")
printf 'load 4000x3000x24 BMP: lumora %s s, convert %s s, ratio %s (median of %d)\n' \
  "$(bench_secs "$ma")" "$(bench_secs "$mb")" "$(bench_ratio "$ma" "$mb")" "$runs"
