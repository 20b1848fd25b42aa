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
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
build=${LUMORA_BUILD:-$root/build}
work=${LUMORA_BENCH_DIR:-/tmp/lumora-bench}
mkdir -p "$work"
tool="$build/bench/lumora_bench_quantise"
[ -x "$tool" ] || { cmake -S "$root" -B "$build" >/dev/null; make -C "$build" -j2 lumora_bench_quantise >/dev/null; }
export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1
pic="$work/quantise-1920x1080.ppm"
if [ ! -s "$pic" ]; then
  # Deterministic photo-like content: seeded plasma, softened (about 10,000 distinct 6-5-5 cells).
  /usr/bin/convert -seed 7 -size 1920x1080 plasma:fractal -blur 0x2 -depth 8 "ppm:$pic"
fi
m1=("$tool" reduce 1 8 "$pic" "$work/quantise-m1.ppm")
m2=("$tool" reduce 2 8 "$pic" "$work/quantise-m2.ppm")
m3=("$tool" reduce 3 8 "$pic" "$work/quantise-m3.ppm")
ref=(/usr/bin/convert "$pic" -dither FloydSteinberg -colors 256 "ppm:$work/quantise-ref.ppm")
seconds() { local s e; s=$(date +%s%N); "$@" >/dev/null 2>&1; e=$(date +%s%N); echo $(( (e - s) / 1000 )); }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
for cmd in m1 m2 m3 ref; do
  eval "run=(\"\${$cmd[@]}\")"
  "${run[@]}" >/dev/null 2>&1 || { echo "failed: ${run[*]}" >&2; exit 1; }
done
t1=(); t2=(); t3=(); tr=()
for ((i = 0; i < runs; i++)); do
  t2+=("$(seconds "${m2[@]}")"); tr+=("$(seconds "${ref[@]}")")
  t3+=("$(seconds "${m3[@]}")"); t1+=("$(seconds "${m1[@]}")")
done
med() { printf '%s\n' "$@" | median; }
s1=$(med "${t1[@]}"); s2=$(med "${t2[@]}"); s3=$(med "${t3[@]}"); sr=$(med "${tr[@]}")
quality() { "$tool" psnr "$pic" "$1"; }
line() { printf '  %-34s %7.3f s  ratio %5.2f  %s\n' "$1" "$(echo "$2 / 1000000" | bc -l)" "$(echo "$2 / $sr" | bc -l)" "$3"; }
echo "reduce 1920x1080 to 256 colours (median of $runs, ratio = time / ImageMagick's):"
line "lumora method '2' (octree)" "$s2" "$(quality "$work/quantise-m2.ppm")"
line "lumora method '3' (merging)" "$s3" "$(quality "$work/quantise-m3.ppm")"
line "lumora method '1' (fixed 3-3-2)" "$s1" "$(quality "$work/quantise-m1.ppm")"
line "convert -dither FloydSteinberg" "$sr" "$(quality "$work/quantise-ref.ppm")"
