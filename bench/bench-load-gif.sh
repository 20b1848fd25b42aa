#!/bin/bash
# Benchmark: loading GIF files into the current image (the real loading pipeline,
# natively: every frame decoded and composed into the frame table) against ImageMagick
# decoding and composing the same file, run alternately in the same command: a still
# 2000x1500 picture of 256 colours, and an animation of 30 frames of 640x480.
# Prints each median and the ratio ours / reference (below 1 = faster).
# Usage: bench/bench-load-gif.sh [runs]   (LUMORA_BUILD picks the build directory, default build/)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
bench_init
runs=${1:-7}
tool=$(bench_tool lumora_bench_load)
still="$work/load-2000x1500.gif"
anim="$work/load-640x480x30.gif"
bench_plasma "$still" "$still" 2000x1500 42 -colors 256
if [ ! -s "$anim" ]; then
  # Thirty frames of one plasma picture rolled a little further each time.
  base="$work/anim-base.png"
  bench_plasma "$base" "$base" 640x480 7
  frames=()
  for i in $(seq 0 29); do frames+=("(" "$base" -roll "+$((i * 21))+$((i * 7))" ")"); done
  /usr/bin/convert -delay 10 "${frames[@]}" -colors 256 -loop 0 "$anim"
fi
for pic in "$still" "$anim"; do
  ours=("$tool" "$pic")
  ref=(/usr/bin/convert "$pic" -coalesce ppm:/dev/null)
  bench_check "${ours[@]}"
  a=(); b=()
  for ((i = 0; i < runs; i++)); do a+=("$(bench_seconds "${ours[@]}")"); b+=("$(bench_seconds "${ref[@]}")"); done
  ma=$(bench_median "${a[@]}"); mb=$(bench_median "${b[@]}")
  printf 'load %s: lumora %s s, convert -coalesce %s s, ratio %s (median of %d)\n' "$(basename "$pic")" \
    "$(bench_secs "$ma")" "$(bench_secs "$mb")" "$(bench_ratio "$ma" "$mb")" "$runs"
done
