#!/bin/bash
# Benchmark: JPEG decoding and encoding of the workload's 4000x3000 photo (w/a.jpg of
# make-workload.sh) against libjpeg-turbo's own tools, run alternately in one command:
#   decode: our load of a.jpg into the current picture        vs  djpeg -ppm a.jpg
#   encode: our load of a.bmp (a.jpg as a 24-bit BMP) and a
#           write at quality 90                                vs  cjpeg -quality 90 a.ppm
# and the peak memory of loading w/big.jpg (12000x9000) against one 24-bit frame of it.
# Usage: bench/bench-jpeg.sh WORKLOAD_DIR [runs]
set -euo pipefail
source "$(dirname "$0")/lib.sh"
bench_init
data=${1:?usage: bench-jpeg.sh WORKLOAD_DIR [runs]}
runs=${2:-5}
load=$(bench_tool lumora_bench_load)
save=$(bench_tool lumora_bench_save)
a="$data/w/a.jpg"
[ -s "$work/a.ppm" ] || djpeg -ppm -outfile "$work/a.ppm" "$a"
[ -s "$work/a.bmp" ] || djpeg -bmp -outfile "$work/a.bmp" "$a"
bench_check "$load" "$a"
bench_check "$save" "$work/a.bmp" "$work/ours.jpg" 90

d1=(); d2=(); e1=(); e2=()
for ((i = 0; i < runs; i++)); do
  d1+=("$(bench_seconds "$load" "$a")")
  d2+=("$(bench_seconds djpeg -ppm -outfile /dev/null "$a")")
  e1+=("$(bench_seconds "$save" "$work/a.bmp" "$work/ours.jpg" 90)")
  e2+=("$(bench_seconds cjpeg -quality 90 -outfile "$work/ref.jpg" "$work/a.ppm")")
done
m1=$(bench_median "${d1[@]}"); m2=$(bench_median "${d2[@]}")
printf 'decode 4000x3000 JPEG: lumora %s s, djpeg %s s, ratio %s (median of %d)\n' \
  "$(bench_secs "$m1")" "$(bench_secs "$m2")" "$(bench_ratio "$m1" "$m2")" "$runs"
m1=$(bench_median "${e1[@]}"); m2=$(bench_median "${e2[@]}")
printf 'encode 4000x3000 at quality 90: lumora %s s, cjpeg %s s, ratio %s (median of %d)\n' \
  "$(bench_secs "$m1")" "$(bench_secs "$m2")" "$(bench_ratio "$m1" "$m2")" "$runs"

big="$data/w/big.jpg"
if [ -s "$big" ]; then
  kb=$(/usr/bin/time -f %M "$load" "$big" 2>&1 >/dev/null | tail -1)
  frame=$((12000 * 9000 * 3 / 1024))
  printf 'peak memory loading 12000x9000 JPEG: %d MB, one 24-bit frame %d MB, ratio %s\n' \
    $((kb / 1024)) $((frame / 1024)) "$(bench_ratio "$kb" "$frame")"
fi
