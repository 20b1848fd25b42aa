#!/bin/bash
# Benchmark: reducing a 1920x1080 photograph-like picture to 256 colours with dithering.
# Lumora's method '2' (octree + serpentine Floyd-Steinberg) and method '3' (pairwise
# merging, slow by design) against ImageMagick's Floyd-Steinberg -colors 256, run
# alternately in the same command; method '1' (fixed 3-3-2 palette) for information.
# Each run reads the PPM, reduces it and writes the result as PPM. Prints the medians, the
# ratios ours / reference (below 1 = faster), and the PSNR of every result against the
# original, all computed by the same code.
# Usage: bench/bench-quantise.sh [runs]   (LUMORA_BUILD picks the build directory, default build/)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
bench_init
runs=${1:-5}
tool=$(bench_tool lumora_bench_quantise)
pic="$work/quantise-1920x1080.ppm"
# Deterministic photo-like content: seeded plasma, softened (about 10,000 distinct 6-5-5 cells).
bench_plasma "$pic" "ppm:$pic" 1920x1080 7 -blur 0x2 -depth 8
m1=("$tool" reduce 1 8 "$pic" "$work/quantise-m1.ppm")
m2=("$tool" reduce 2 8 "$pic" "$work/quantise-m2.ppm")
m3=("$tool" reduce 3 8 "$pic" "$work/quantise-m3.ppm")
ref=(/usr/bin/convert "$pic" -dither FloydSteinberg -colors 256 "ppm:$work/quantise-ref.ppm")
for cmd in m1 m2 m3 ref; do
  eval "run=(\"\${$cmd[@]}\")"
  bench_check "${run[@]}"
done
t1=(); t2=(); t3=(); tr=()
for ((i = 0; i < runs; i++)); do
  t2+=("$(bench_seconds "${m2[@]}")"); tr+=("$(bench_seconds "${ref[@]}")")
  t3+=("$(bench_seconds "${m3[@]}")"); t1+=("$(bench_seconds "${m1[@]}")")
done
s1=$(bench_median "${t1[@]}"); s2=$(bench_median "${t2[@]}"); s3=$(bench_median "${t3[@]}"); sr=$(bench_median "${tr[@]}")
quality() { "$tool" psnr "$pic" "$1"; }
line() { printf '  %-34s %7s s  ratio %5s  %s\n' "$1" "$(bench_secs "$2")" "$(bench_ratio "$2" "$sr")" "$3"; }
echo "reduce 1920x1080 to 256 colours (median of $runs, ratio = time / ImageMagick's):"
line "lumora method '2' (octree)" "$s2" "$(quality "$work/quantise-m2.ppm")"
line "lumora method '3' (merging)" "$s3" "$(quality "$work/quantise-m3.ppm")"
line "lumora method '1' (fixed 3-3-2)" "$s1" "$(quality "$work/quantise-m1.ppm")"
line "convert -dither FloydSteinberg" "$sr" "$(quality "$work/quantise-ref.ppm")"
