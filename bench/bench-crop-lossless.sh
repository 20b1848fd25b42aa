#!/bin/bash
# Benchmark: the lossless 90-degree turn of the workload's 4000x3000 photo (w/a.jpg of
# make-workload.sh) against jpegtran, and cutting a 2000x1500 rectangle out of a 4000x3000
# 24-bit BMP against ImageMagick, run alternately in one command; times and peak memory
# (/usr/bin/time -f %M), with the ratios ours / reference (below 1 = ours is faster or
# smaller).
#   turn: our file read, lossless turn and write       vs  jpegtran -copy all -rotate 90
#   crop: our BMP load, crop and PPM write             vs  convert -crop WxH+X+Y +repage
# Usage: bench/bench-crop-lossless.sh WORKLOAD_DIR [runs]   (LUMORA_BUILD picks the build)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
bench_init
data=${1:?usage: bench-crop-lossless.sh WORKLOAD_DIR [runs]}
runs=${2:-5}
tool=$(bench_tool lumora_bench_ops)
a="$data/w/a.jpg"
pic="$work/load-4000x3000.bmp"
bench_plasma "$pic" "bmp3:$pic" 4000x3000 42 -type TrueColor
turn=("$tool" lossless-rotate90 "$a" "$work/turned.jpg")
turnRef=(jpegtran -copy all -rotate 90 -outfile "$work/turned-ref.jpg" "$a")
crop=("$tool" crop 1000 700 2000 1500 "$pic" "$work/cut.ppm")
cropRef=(/usr/bin/convert "$pic" -crop 2000x1500+1000+700 +repage "ppm:$work/cut-ref.ppm")
for cmd in turn turnRef crop cropRef; do
  eval "run=(\"\${$cmd[@]}\")"
  bench_check "${run[@]}"
done
cmp -s "$work/turned.jpg" "$work/turned-ref.jpg" && same=identical || same=different
cmp -s "$work/cut.ppm" "$work/cut-ref.ppm" && sameCut=identical || sameCut=different

t1=(); t2=(); c1=(); c2=()
for ((i = 0; i < runs; i++)); do
  t1+=("$(bench_seconds "${turn[@]}")"); t2+=("$(bench_seconds "${turnRef[@]}")")
  c1+=("$(bench_seconds "${crop[@]}")"); c2+=("$(bench_seconds "${cropRef[@]}")")
done
peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
line() {  # name, our median, reference median, our peak KB, reference peak KB, note
  printf '  %-38s %7s s %7s s  ratio %5s   peak %4d MB %4d MB  ratio %5s  %s\n' "$1" "$(bench_secs "$2")" \
    "$(bench_secs "$3")" "$(bench_ratio "$2" "$3")" $(($4 / 1024)) $(($5 / 1024)) "$(bench_ratio "$4" "$5")" "$6"
}
echo "lossless turn and crop (median of $runs; ours, reference, ratio = ours / reference):"
line "turn a.jpg 90 degrees (jpegtran)" "$(bench_median "${t1[@]}")" "$(bench_median "${t2[@]}")" \
  "$(peak "${turn[@]}")" "$(peak "${turnRef[@]}")" "files $same"
line "crop 2000x1500 of 4000x3000 (convert)" "$(bench_median "${c1[@]}")" "$(bench_median "${c2[@]}")" \
  "$(peak "${crop[@]}")" "$(peak "${cropRef[@]}")" "pictures $sameCut"
