#!/bin/bash
# Benchmark: PNG and WebP of the workload's 4000x3000 photo (w/a.jpg of make-workload.sh)
# against reference tools, run alternately in one command:
#   PNG write:  our load of a.bmp and write as PNG (zlib level 6,
#               libpng's adaptive filters)                 vs  convert -quality 65 a.ppm x.png
#               (the same level and filters)
#   PNG decode: our load of that PNG into the current picture  vs  vips copy x.png y.ppm
#   WebP decode: our load of a cwebp -q 90 copy                vs  dwebp -ppm
# and the peak memory of our PNG load against convert's and against one 24-bit frame.
# Usage: bench/bench-png-webp.sh WORKLOAD_DIR [runs]
set -euo pipefail
source "$(dirname "$0")/lib.sh"
bench_init
data=${1:?usage: bench-png-webp.sh WORKLOAD_DIR [runs]}
runs=${2:-5}
load=$(bench_tool lumora_bench_load)
save=$(bench_tool lumora_bench_save)
a="$data/w/a.jpg"
[ -s "$work/a.ppm" ] || djpeg -ppm -outfile "$work/a.ppm" "$a"
[ -s "$work/a.bmp" ] || djpeg -bmp -outfile "$work/a.bmp" "$a"
[ -s "$work/a.webp" ] || cwebp -quiet -q 90 "$work/a.ppm" -o "$work/a.webp"
bench_check "$save" "$work/a.bmp" "$work/ours.png"
bench_check convert -quality 65 "$work/a.ppm" "$work/ref.png"
bench_check "$load" "$work/ref.png"
bench_check "$load" "$work/a.webp"

w1=(); w2=(); p1=(); p2=(); x1=(); x2=()
for ((i = 0; i < runs; i++)); do
  w1+=("$(bench_seconds "$save" "$work/a.bmp" "$work/ours.png")")
  w2+=("$(bench_seconds convert -quality 65 "$work/a.ppm" "$work/ref.png")")
  p1+=("$(bench_seconds "$load" "$work/ref.png")")
  p2+=("$(bench_seconds vips copy "$work/ref.png" "$work/vips.ppm")")
  x1+=("$(bench_seconds "$load" "$work/a.webp")")
  x2+=("$(bench_seconds dwebp -quiet -ppm "$work/a.webp" -o "$work/dwebp.ppm")")
done
report() {  # label ours reference name
  local m1 m2
  m1=$(bench_median "${!2}"); m2=$(bench_median "${!3}")
  printf '%s: lumora %s s, %s %s s, ratio %s (median of %d)\n' "$1" "$(bench_secs "$m1")" "$4" \
    "$(bench_secs "$m2")" "$(bench_ratio "$m1" "$m2")" "$runs"
}
report "PNG write 4000x3000" 'w1[@]' 'w2[@]' convert
report "PNG decode 4000x3000" 'p1[@]' 'p2[@]' "vips copy"
report "WebP decode 4000x3000 (q 90)" 'x1[@]' 'x2[@]' dwebp
printf 'PNG sizes: lumora %d bytes, convert %d bytes\n' "$(stat -c %s "$work/ours.png")" "$(stat -c %s "$work/ref.png")"

ours=$(/usr/bin/time -f %M "$load" "$work/ref.png" 2>&1 >/dev/null | tail -1)
theirs=$(/usr/bin/time -f %M convert "$work/ref.png" "$work/convert.ppm" 2>&1 >/dev/null | tail -1)
# What the process takes whatever it loads (its code and libraries): a one-pixel PNG.
[ -s "$work/one.png" ] || convert -size 1x1 xc:red "$work/one.png"
base=$(/usr/bin/time -f %M "$load" "$work/one.png" 2>&1 >/dev/null | tail -1)
frame=$((4000 * 3000 * 3 / 1024))
printf 'peak memory loading the PNG: lumora %d MB, convert %d MB, one 24-bit frame %d MB; ratio to the frame %s, to convert %s\n' \
  $((ours / 1024)) $((theirs / 1024)) $((frame / 1024)) "$(bench_ratio "$ours" "$frame")" "$(bench_ratio "$ours" "$theirs")"
printf '  beyond the %d MB a one-pixel PNG load takes: %s frames\n' $((base / 1024)) "$(bench_ratio $((ours - base)) "$frame")"
