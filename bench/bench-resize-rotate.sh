#!/bin/bash
# Benchmark: resizing a 4000x3000 24-bit BMP to 1024x768 (bilinear and nearest neighbour)
# and turning it by 90 degrees: Lumora's engine against ImageMagick and libvips, run
# alternately in one command. Every command reads the same BMP and writes its result as
# PPM to /dev/null. Prints the medians, the ratios ours / reference (below 1 = faster),
# and the median time of our operation alone (without reading and writing).
# libvips (apt-get install libvips-tools) is skipped when it is not installed; it reads
# the BMP through ImageMagick.
# Usage: bench/bench-resize-rotate.sh [runs]   (LUMORA_BUILD picks the build directory)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
bench_init
runs=${1:-5}
tool=$(bench_tool lumora_bench_ops)
pic="$work/load-4000x3000.bmp"
bench_plasma "$pic" "bmp3:$pic" 4000x3000 42 -type TrueColor
have_vips=0
command -v vips >/dev/null 2>&1 && have_vips=1

names=("resize 1024x768 bilinear" "resize 1024x768 nearest" "rotate 90")
ours=("$tool resize-bilinear 1024 768 $pic /dev/null"
      "$tool resize-nearest 1024 768 $pic /dev/null"
      "$tool rotate90 $pic /dev/null")
magick=("/usr/bin/convert $pic -resize 1024x768! ppm:/dev/null"
        "/usr/bin/convert $pic -sample 1024x768! ppm:/dev/null"
        "/usr/bin/convert $pic -rotate 90 ppm:/dev/null")
vips=("vips resize $pic .ppm 0.256"
      "vips resize $pic .ppm 0.256 --kernel nearest"
      "vips rot $pic .ppm d90")

# Our tool prints "<op> <size> <seconds of the operation alone>" on standard error.
op_micros() { awk '{printf "%d", $3 * 1000000}' "$work/stderr.txt"; }

echo "4000x3000 BMP -> operation -> PPM (median of $runs; ratio = our time / reference time):"
printf '  %-26s %9s %11s %9s %7s %9s %7s\n' workload lumora "(op alone)" convert ratio vips ratio
for k in "${!names[@]}"; do
  read -r -a o <<<"${ours[$k]}"
  read -r -a m <<<"${magick[$k]}"
  read -r -a v <<<"${vips[$k]}"
  bench_check "${o[@]}"
  bench_check "${m[@]}"
  [ "$have_vips" = 1 ] && bench_check "${v[@]}"
  to=(); tp=(); tm=(); tv=()
  for ((i = 0; i < runs; i++)); do
    to+=("$(bench_seconds "${o[@]}")"); tp+=("$(op_micros)")
    tm+=("$(bench_seconds "${m[@]}")")
    [ "$have_vips" = 1 ] && tv+=("$(bench_seconds "${v[@]}")")
  done
  so=$(bench_median "${to[@]}"); sp=$(bench_median "${tp[@]}"); sm=$(bench_median "${tm[@]}")
  if [ "$have_vips" = 1 ]; then
    sv=$(bench_median "${tv[@]}")
    vcols="$(bench_secs "$sv") $(bench_ratio "$so" "$sv")"
  else
    vcols="- -"
  fi
  read -r vs vr <<<"$vcols"
  printf '  %-26s %8ss %10ss %8ss %7s %8s%s %7s\n' "${names[$k]}" "$(bench_secs "$so")" "$(bench_secs "$sp")" \
    "$(bench_secs "$sm")" "$(bench_ratio "$so" "$sm")" "$vs" "$([ "$vs" = - ] || echo s)" "$vr"
done
[ "$have_vips" = 1 ] || echo "  (vips not installed: apt-get install libvips-tools)"
