#!/bin/bash
# Benchmark: the 3x3 filters on the workload's 4000x3000 photo (w/a.jpg of
# make-workload.sh, as a 24-bit BMP made before timing): "Sharpen lots" (entry 6) and
# the 3x3 median (entry 38) against ImageMagick and libvips at one thread, run
# alternately in one command; each reads the BMP and writes PPM to /dev/null. Prints the
# medians, the ratios ours / reference (below 1 = faster), our operation's time alone, and
# the peak memory of our run against one 24-bit frame.
# Usage: bench/bench-filters.sh WORKLOAD_DIR [runs]   (LUMORA_BUILD picks the build directory)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
bench_init
data=${1:?usage: bench-filters.sh WORKLOAD_DIR [runs]}
runs=${2:-5}
tool=$(bench_tool lumora_bench_ops)
pic="$work/a.bmp"
[ -s "$pic" ] || djpeg -bmp -outfile "$pic" "$data/w/a.jpg"
# The sharpen kernel as the references take it: -1 around 16, divided by the sum 8.
kernel="$work/sharpen.mat"
printf '3 3 8 0\n-1 -1 -1\n-1 16 -1\n-1 -1 -1\n' >"$kernel"

names=("sharpen 3x3 (entry 6)" "median 3x3 (entry 38)")
ours=("$tool filter 6 $pic /dev/null" "$tool filter 38 $pic /dev/null")
magick=("/usr/bin/convert $pic -virtual-pixel tile -define convolve:scale=0.125 -morphology Convolve 3x3:-1,-1,-1,-1,16,-1,-1,-1,-1 ppm:/dev/null"
        "/usr/bin/convert $pic -virtual-pixel tile -statistic Median 3x3 ppm:/dev/null")
vips=("vips conv $pic .ppm $kernel --precision integer" "vips rank $pic .ppm 3 3 4")

op_micros() { awk '{printf "%d", $3 * 1000000}' "$work/stderr.txt"; }

echo "4000x3000 BMP -> filter -> PPM (median of $runs; ratio = our time / reference time):"
printf '  %-24s %9s %11s %9s %7s %9s %7s\n' workload lumora "(op alone)" convert ratio vips ratio
for k in "${!names[@]}"; do
  read -r -a o <<<"${ours[$k]}"
  read -r -a v <<<"${vips[$k]}"
  bench_check "${o[@]}"
  bench_check bash -c "${magick[$k]}"
  bench_check "${v[@]}"
  to=(); tp=(); tm=(); tv=()
  for ((i = 0; i < runs; i++)); do
    to+=("$(bench_seconds "${o[@]}")"); tp+=("$(op_micros)")
    tm+=("$(bench_seconds bash -c "${magick[$k]}")")
    tv+=("$(bench_seconds "${v[@]}")")
  done
  so=$(bench_median "${to[@]}"); sp=$(bench_median "${tp[@]}"); sm=$(bench_median "${tm[@]}"); sv=$(bench_median "${tv[@]}")
  printf '  %-24s %9s %11s %9s %7s %9s %7s\n' "${names[$k]}" "$(bench_secs "$so")" "($(bench_secs "$sp"))" \
    "$(bench_secs "$sm")" "$(bench_ratio "$so" "$sm")" "$(bench_secs "$sv")" "$(bench_ratio "$so" "$sv")"
done
kb=$(/usr/bin/time -f %M "${o[@]}" 2>&1 >/dev/null | tail -1)
load=$(bench_tool lumora_bench_load)
loaded=$(/usr/bin/time -f %M "$load" "$pic" 2>&1 >/dev/null | tail -1)
frame=$((4000 * 3000 * 3 / 1024))
printf 'peak memory of the median run: %d MB, one 24-bit frame %d MB, ratio %s; loading the BMP alone: %d MB\n' \
  $((kb / 1024)) $((frame / 1024)) "$(bench_ratio "$kb" "$frame")" $((loaded / 1024))
